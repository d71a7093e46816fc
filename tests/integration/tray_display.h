#pragma once

#include "child_process.h"

#include <QString>

#include <memory>

namespace tarnix::test {

// A virtual X display of its own, and a tray host on it when asked for.
class TrayDisplay {
public:
    TrayDisplay();

    // Empty when the X server did not start.
    const QString& name() const { return name_; }
    // Starts the tray host (a panel at the top edge); false when it did not come up.
    bool startTrayHost();
    // Whether a window whose class is windowClass sits inside the tray host's panel.
    bool embedded(const QString& windowClass) const;

private:
    QString tree() const;

    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> trayHost_;
    QString name_;
};

}  // namespace tarnix::test
