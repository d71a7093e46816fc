#pragma once

#include "base/event_loop.h"

#include <functional>

namespace tarnix {

// SIGTERM and SIGINT, the way a desktop session or a terminal ends a program, delivered as
// calls on the main loop. The handler only writes the signal number into a pipe the loop
// watches, so all the work happens on the main thread. One object at a time per process; the
// default handling comes back when it goes.
class TerminationSignals {
public:
    using Handler = std::function<void(int signal)>;

    TerminationSignals(EventLoop& loop, Handler handler);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe could not be made: the signals then keep their default handling.
    bool active() const { return watchId_ != 0; }

private:
    void receive();

    EventLoop& loop_;
    Handler handler_;
    int watchId_ = 0;
};

}  // namespace tarnix
