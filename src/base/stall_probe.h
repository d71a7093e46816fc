#pragma once

#include <QElapsedTimer>

namespace tarnix {

// Times each callback the main thread's loop runs (a timer, a readable descriptor, a posted task,
// a bus reply, a widget event): while one runs, nothing else on the thread is served. Callbacks
// of kReportMs or more are logged at debug level in the tarnix.base category (off unless
// QT_LOGGING_RULES turns it on; then two clock reads a callback), so benchmarks can read the
// longest stall of a real run. Nested callbacks count as part of the one they run in.
class StallProbe {
public:
    static constexpr double kReportMs = 1.0;

    StallProbe();

    bool on() const { return on_; }
    void enter();
    void leave();

private:
    bool on_ = false;
    int depth_ = 0;
    QElapsedTimer busy_;
};

}  // namespace tarnix
