#include "base/qt_event_loop.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

namespace tarnix {

struct QtEventLoop::FdWatch {
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> exception;
    FdHandler handler;
};

QtEventLoop::QtEventLoop()
{
    clock_.start();
}

QtEventLoop::~QtEventLoop() = default;

void QtEventLoop::post(Task task)
{
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

void QtEventLoop::arm(TimerKey key, int periodMs, bool singleShot, Task task)
{
    const Key k{key.owner, key.id};
    timers_.erase(k);
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(periodMs);
    timer->setSingleShot(singleShot);
    timer->setTimerType(Qt::PreciseTimer);
    QTimer* raw = timer.get();
    QObject::connect(raw, &QTimer::timeout, &context_, [this, k, singleShot, task = std::move(task)] {
        // The handler may stop or replace this very timer: keep the task alive for the call.
        Task run = task;
        if (singleShot) {
            auto it = timers_.find(k);
            if (it != timers_.end()) {
                it->second.release()->deleteLater();
                timers_.erase(it);
            }
        }
        run();
    });
    timers_.emplace(k, std::move(timer));
    raw->start();
}

void QtEventLoop::startTimer(TimerKey key, int periodMs, Task onTick)
{
    arm(key, periodMs, false, std::move(onTick));
}

void QtEventLoop::startSingleShot(TimerKey key, int delayMs, Task onFire)
{
    arm(key, delayMs, true, std::move(onFire));
}

bool QtEventLoop::stopTimer(TimerKey key)
{
    auto it = timers_.find({key.owner, key.id});
    if (it == timers_.end()) {
        return false;
    }
    // A timer may stop itself from its own handler: delete it once control is back in Qt.
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
    return true;
}

bool QtEventLoop::isTimerActive(TimerKey key) const
{
    return timers_.count({key.owner, key.id}) != 0;
}

int QtEventLoop::watchFd(int fd, FdHandler handler)
{
    auto watch = std::make_unique<FdWatch>();
    watch->handler = std::move(handler);
    watch->read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    watch->exception = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Exception);
    const int id = nextWatchId_++;
    auto dispatch = [this, id](unsigned events) {
        auto it = fdWatches_.find(id);
        if (it != fdWatches_.end()) {
            FdHandler run = it->second->handler;
            run(events);
        }
    };
    QObject::connect(watch->read.get(), &QSocketNotifier::activated, &context_,
                     [dispatch] { dispatch(FdReadable); });
    QObject::connect(watch->exception.get(), &QSocketNotifier::activated, &context_,
                     [dispatch] { dispatch(FdError); });
    fdWatches_.emplace(id, std::move(watch));
    return id;
}

void QtEventLoop::unwatchFd(int watchId)
{
    auto it = fdWatches_.find(watchId);
    if (it == fdWatches_.end()) {
        return;
    }
    it->second->read->setEnabled(false);
    it->second->exception->setEnabled(false);
    it->second->read.release()->deleteLater();
    it->second->exception.release()->deleteLater();
    fdWatches_.erase(it);
}

std::int64_t QtEventLoop::nowMs() const
{
    return clock_.elapsed();
}

}  // namespace tarnix
