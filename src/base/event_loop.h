#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace tarnix {

// Identifies a timer the way the system's windows do: an owner (the object that set it) and
// the owner's timer id (1001, 1002, 1251, ...). Starting a timer that already runs under the
// same key replaces it, as a window timer does.
struct TimerKey {
    const void* owner = nullptr;
    int id = 0;
    friend bool operator==(const TimerKey&, const TimerKey&) = default;
};

// Events on a watched file descriptor, as poll() reports them.
enum FdEvent : unsigned {
    FdReadable = 1u << 0,
    FdWritable = 1u << 1,
    FdHangUp = 1u << 2,
    FdError = 1u << 3,
};

// The one loop of the main thread. Everything but sound runs on it; core code reaches it only
// through this port so tests can drive it on a virtual clock.
class EventLoop {
public:
    using Task = std::function<void()>;
    using FdHandler = std::function<void(unsigned events)>;

    virtual ~EventLoop() = default;

    // Runs the task later on the loop's thread, after the tasks posted before it. Safe to call
    // from any thread.
    virtual void post(Task task) = 0;

    // A periodic timer firing every periodMs until stopped (or replaced under the same key).
    virtual void startTimer(TimerKey key, int periodMs, Task onTick) = 0;
    // A timer that fires once and is then gone.
    virtual void startSingleShot(TimerKey key, int delayMs, Task onFire) = 0;
    // Returns false when no timer runs under the key.
    virtual bool stopTimer(TimerKey key) = 0;
    virtual bool isTimerActive(TimerKey key) const = 0;

    // Calls the handler on the loop's thread whenever the descriptor is readable (and on hang-up
    // or error). Returns a watch id for unwatchFd.
    virtual int watchFd(int fd, FdHandler handler) = 0;
    virtual void unwatchFd(int watchId) = 0;

    // Milliseconds on the loop's clock (monotonic; virtual in tests).
    virtual std::int64_t nowMs() const = 0;
};

}  // namespace tarnix
