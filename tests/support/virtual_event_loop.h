#pragma once

#include "base/event_loop.h"

#include <map>
#include <mutex>
#include <vector>

namespace tarnix::test {

// An EventLoop on a virtual clock: nothing runs until the test says so, and advancing 2000 ms
// costs no wall time. Timers due at the same instant fire in the order they were armed.
class VirtualEventLoop final : public EventLoop {
public:
    void post(Task task) override;
    void startTimer(TimerKey key, int periodMs, Task onTick) override;
    void startSingleShot(TimerKey key, int delayMs, Task onFire) override;
    bool stopTimer(TimerKey key) override;
    bool isTimerActive(TimerKey key) const override;
    int watchFd(int fd, FdHandler handler) override;
    void unwatchFd(int watchId) override;
    std::int64_t nowMs() const override { return now_; }

    // Runs posted tasks (and those they post) until none is left; polls watched descriptors
    // without waiting. Returns the number of tasks and handlers run.
    int runPending();
    // Moves the clock forward, firing every timer that falls due on the way (and the tasks
    // posted meanwhile) in time order.
    void advance(std::int64_t ms);

    int timerPeriod(TimerKey key) const;
    std::size_t pendingTasks() const;

private:
    struct Timer {
        std::int64_t due = 0;
        int period = 0;
        bool singleShot = false;
        std::uint64_t order = 0;
        Task task;
    };
    using Key = std::pair<const void*, int>;

    void arm(TimerKey key, int periodMs, bool singleShot, Task task);
    bool fireNextDue(std::int64_t until);
    int pollFds();

    std::int64_t now_ = 0;
    std::uint64_t armed_ = 0;
    std::map<Key, Timer> timers_;
    mutable std::mutex postedMutex_;
    std::vector<Task> posted_;
    struct Watch {
        int fd;
        FdHandler handler;
    };
    std::map<int, Watch> watches_;
    int nextWatchId_ = 1;
};

}  // namespace tarnix::test
