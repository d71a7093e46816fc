#pragma once

#include "base/event_loop.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>
#include <memory>
#include <utility>

class QSocketNotifier;
class QTimer;

namespace tarnix {

// The program's EventLoop: Qt's event loop on the main thread.
class QtEventLoop final : public EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;

    void post(Task task) override;
    void startTimer(TimerKey key, int periodMs, Task onTick) override;
    void startSingleShot(TimerKey key, int delayMs, Task onFire) override;
    bool stopTimer(TimerKey key) override;
    bool isTimerActive(TimerKey key) const override;
    int watchFd(int fd, FdHandler handler) override;
    void unwatchFd(int watchId) override;
    std::int64_t nowMs() const override;

private:
    using Key = std::pair<const void*, int>;
    struct FdWatch;

    void arm(TimerKey key, int periodMs, bool singleShot, Task task);

    QObject context_;
    QElapsedTimer clock_;
    std::map<Key, std::unique_ptr<QTimer>> timers_;
    std::map<int, std::unique_ptr<FdWatch>> fdWatches_;
    int nextWatchId_ = 1;
};

}  // namespace tarnix
