#pragma once

#include "base/event_loop.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace tarnix {

// Sends commands in the order they are given, holding back the ones that follow a pause until
// it has passed, without ever blocking the loop: a waiting command rides on a single-shot timer.
class CommandPacer {
public:
    static constexpr int kTimerId = 1045;
    using Transmit = std::function<int(std::string_view)>;

    CommandPacer(EventLoop& loop, Transmit transmit);
    ~CommandPacer();
    CommandPacer(const CommandPacer&) = delete;
    CommandPacer& operator=(const CommandPacer&) = delete;

    // Transmits at once (its result) unless a pause holds commands back; then it waits its
    // turn and 1 is returned.
    int send(std::string_view text);
    // The commands given after this go out once ms have passed.
    void pause(int ms);
    bool holding() const { return holding_; }

private:
    void resume();

    struct Waiting {
        std::string text;
        // Nonzero: a pause, not a command.
        int pauseMs = 0;
    };
    EventLoop& loop_;
    Transmit transmit_;
    std::deque<Waiting> waiting_;
    bool holding_ = false;
};

}  // namespace tarnix
