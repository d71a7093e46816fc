#pragma once

#include "base/stall_probe.h"

#include <QApplication>

namespace tarnix {

// Qt's application object with every event it delivers on the main thread timed by the stall
// probe.
class ProgramApplication final : public QApplication {
public:
    ProgramApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

private:
    StallProbe probe_;
};

}  // namespace tarnix
