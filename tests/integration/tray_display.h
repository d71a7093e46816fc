#pragma once

#include "child_process.h"

#include <QPoint>
#include <QProcessEnvironment>
#include <QString>

#include <memory>
#include <optional>

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
    bool embedded(const QString& windowClass) const { return trayIconAt(windowClass).has_value(); }
    // The screen position of that window's top-left corner.
    std::optional<QPoint> trayIconAt(const QString& windowClass) const;
    // Whether a top-level window with this title is on the display.
    bool hasWindow(const QString& title) const;
    // Runs xdotool on the display with the arguments; false when it fails.
    bool xdotool(const QStringList& arguments) const;

private:
    QString tree() const;
    QProcessEnvironment environment() const;

    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> trayHost_;
    QString name_;
};

}  // namespace tarnix::test
