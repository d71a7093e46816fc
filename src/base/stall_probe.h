#pragma once

#include <QElapsedTimer>
#include <QObject>

namespace tarnix {

// Measures each stretch the main thread spends between waking up and waiting again: while one
// lasts, no key, timer or message is served. Stretches of kReportMs or more are logged at debug
// level in the tarnix.base category (off unless QT_LOGGING_RULES turns it on, and then costing
// two clock reads a wake-up), so benchmarks can read the longest stall of a real run.
class StallProbe final : public QObject {
public:
    static constexpr double kReportMs = 1.0;

    // Listens to the current thread's event dispatcher, if debug logging of tarnix.base is on.
    StallProbe();

private:
    QElapsedTimer busy_;
};

}  // namespace tarnix
