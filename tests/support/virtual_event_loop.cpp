#include "virtual_event_loop.h"

#include <poll.h>

#include <utility>

namespace tarnix::test {

void VirtualEventLoop::post(Task task)
{
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(task));
}

void VirtualEventLoop::arm(TimerKey key, int periodMs, bool singleShot, Task task)
{
    timers_[{key.owner, key.id}] = Timer{now_ + periodMs, periodMs, singleShot, armed_++, std::move(task)};
}

void VirtualEventLoop::startTimer(TimerKey key, int periodMs, Task onTick)
{
    arm(key, periodMs, false, std::move(onTick));
}

void VirtualEventLoop::startSingleShot(TimerKey key, int delayMs, Task onFire)
{
    arm(key, delayMs, true, std::move(onFire));
}

bool VirtualEventLoop::stopTimer(TimerKey key)
{
    return timers_.erase({key.owner, key.id}) != 0;
}

bool VirtualEventLoop::isTimerActive(TimerKey key) const
{
    return timers_.count({key.owner, key.id}) != 0;
}

int VirtualEventLoop::timerPeriod(TimerKey key) const
{
    auto it = timers_.find({key.owner, key.id});
    return it == timers_.end() ? -1 : it->second.period;
}

int VirtualEventLoop::watchFd(int fd, FdHandler handler)
{
    const int id = nextWatchId_++;
    watches_.emplace(id, Watch{fd, std::move(handler)});
    return id;
}

void VirtualEventLoop::unwatchFd(int watchId)
{
    watches_.erase(watchId);
}

std::size_t VirtualEventLoop::pendingTasks() const
{
    std::lock_guard lock(postedMutex_);
    return posted_.size();
}

int VirtualEventLoop::pollFds()
{
    int handled = 0;
    std::vector<std::pair<int, Watch>> snapshot(watches_.begin(), watches_.end());
    for (auto& [id, watch] : snapshot) {
        if (watches_.count(id) == 0) {
            continue;
        }
        pollfd p{watch.fd, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) {
            continue;
        }
        unsigned events = 0;
        if (p.revents & POLLIN) events |= FdReadable;
        if (p.revents & POLLHUP) events |= FdHangUp;
        if (p.revents & (POLLERR | POLLNVAL)) events |= FdError;
        if (events != 0) {
            watch.handler(events);
            ++handled;
        }
    }
    return handled;
}

int VirtualEventLoop::runPending()
{
    int ran = 0;
    for (;;) {
        std::vector<Task> batch;
        {
            std::lock_guard lock(postedMutex_);
            batch.swap(posted_);
        }
        const int fds = pollFds();
        ran += fds;
        if (batch.empty() && fds == 0) {
            return ran;
        }
        for (auto& task : batch) {
            task();
            ++ran;
        }
    }
}

bool VirtualEventLoop::fireNextDue(std::int64_t until)
{
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due > until) continue;
        if (next == timers_.end() || it->second.due < next->second.due ||
            (it->second.due == next->second.due && it->second.order < next->second.order)) {
            next = it;
        }
    }
    if (next == timers_.end()) {
        return false;
    }
    now_ = next->second.due;
    Task task = next->second.task;
    if (next->second.singleShot) {
        timers_.erase(next);
    } else {
        next->second.due += next->second.period > 0 ? next->second.period : 1;
        next->second.order = armed_++;
    }
    task();
    return true;
}

void VirtualEventLoop::advance(std::int64_t ms)
{
    const std::int64_t until = now_ + ms;
    runPending();
    while (fireNextDue(until)) {
        runPending();
    }
    now_ = until;
    runPending();
}

}  // namespace tarnix::test
