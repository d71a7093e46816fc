#pragma once

#include <functional>
#include <string_view>

namespace tarnix {

class CallTable;
class EventLoop;

// Keeps the call table true to the messenger's own list of its active calls. An end the
// messenger said while the link was down, or in a word we do not know as final, would otherwise
// leave a call "in progress" for good: its light on and every later call refused. The list is
// asked for at each attach and, while a call is active, whenever no call notification has come
// for kQuietMs; an idle client has no timer running.
class ActiveCallsCheck {
public:
    static constexpr int kTimerId = 1003;
    static constexpr int kQuietMs = 30000;

    // ask sends "SEARCH ACTIVECALLS".
    ActiveCallsCheck(EventLoop& loop, CallTable& calls, std::function<void()> ask);
    ~ActiveCallsCheck();
    ActiveCallsCheck(const ActiveCallsCheck&) = delete;
    ActiveCallsCheck& operator=(const ActiveCallsCheck&) = delete;

    // A call was heard of or the table changed: the quiet time starts again while a call is active.
    void heard();
    // The messenger's answer after "CALLS " ("12, 15", or nothing): the calls it does not name are
    // ended. True when one was.
    bool reconcile(std::string_view list);

private:
    EventLoop& loop_;
    CallTable& calls_;
    std::function<void()> ask_;
};

}  // namespace tarnix
