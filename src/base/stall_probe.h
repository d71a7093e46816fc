#pragma once

#include <QElapsedTimer>

#include <utility>

namespace tarnix {

// Times each callback the main thread's loop runs (a timer, a readable descriptor, a posted task,
// a bus reply, a widget event): while one runs, nothing else on the thread is served. Callbacks
// of kReportMs or more are logged at debug level in the tarnix.base category (off unless
// QT_LOGGING_RULES turns it on; then three clock reads and a getrusage a callback), so benchmarks
// can read the longest stall of a real run. Each line also gives the thread's own CPU time over
// the callback (far less than the stall means the thread was waiting) and how often it was
// switched out: blocked (it waited for a lock, a descriptor, the disk) or preempted (another
// thread had its core). Nested callbacks count as part of the one they run in.
class StallProbe {
public:
    static constexpr double kReportMs = 1.0;

    StallProbe();

    bool on() const { return on_; }
    // The receiver's class and the event's type name the callback in the log (taken here: the
    // callback may delete its receiver).
    void enter(const char* receiverClass, int eventType);
    void leave();

private:
    bool on_ = false;
    int depth_ = 0;
    QElapsedTimer busy_;
    const char* receiverClass_ = "";
    int eventType_ = 0;
    double cpuAtEnterMs_ = 0;
    std::pair<long, long> switchesAtEnter_;
};

}  // namespace tarnix
