#pragma once

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tarnix {

// A thread with a 1 MiB stack running `run`. The owner asks it to end with `stop`, which sets a
// flag the body polls and waits for the body to return.
class WorkerThread {
public:
    static constexpr std::size_t StackSize = 0x100000;

    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Derived classes stop the thread in their own destructors: `run` is theirs.
    virtual ~WorkerThread();

    // Returns 0 when there is no thread; otherwise waits (without limit) for it to end, returns 1.
    virtual int stop();
    // Returns 1 when the thread was created.
    virtual int start();
    // True while the thread exists and its body has not returned.
    bool isRunning() const;

protected:
    virtual void run() = 0;
    // The name the thread carries (shortened to the platform's 15 characters).
    virtual const char* threadName() const { return "WorkerThread"; }
    bool stopRequested() const { return stopFlag_.load(std::memory_order_relaxed); }
    // Sets the flag `stop` sets, without waiting for the body.
    void requestStop();
    // Sleeps the thread, waking early when asked to stop so that `stop` waits for no pause.
    void sleepMs(int milliseconds);

private:
    static void* threadMain(void* self);
    // Waits for a thread whose body may already have returned and forgets it.
    void releaseThread();

    pthread_t thread_{};
    bool hasThread_ = false;
    std::atomic<bool> exited_{true};
    std::atomic<bool> stopFlag_{false};
    std::mutex sleepMutex_;
    std::condition_variable wake_;
};

}  // namespace tarnix
