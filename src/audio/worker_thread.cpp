#include "audio/worker_thread.h"

#include <chrono>
#include <cstring>

namespace tarnix {

WorkerThread::~WorkerThread()
{
    if (hasThread_) {
        requestStop();
        releaseThread();
    }
}

void WorkerThread::requestStop()
{
    {
        // Set under the sleep lock so a sleep that is about to begin sees it.
        std::lock_guard lock(sleepMutex_);
        stopFlag_.store(true, std::memory_order_relaxed);
    }
    wake_.notify_all();
}

int WorkerThread::stop()
{
    if (!hasThread_) {
        return 0;
    }
    requestStop();
    releaseThread();
    stopFlag_.store(false, std::memory_order_relaxed);
    return 1;
}

int WorkerThread::start()
{
    if (hasThread_) {
        releaseThread();
    }
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return 0;
    }
    pthread_attr_setstacksize(&attributes, StackSize);
    exited_.store(false);
    const int created = pthread_create(&thread_, &attributes, &WorkerThread::threadMain, this);
    pthread_attr_destroy(&attributes);
    if (created != 0) {
        exited_.store(true);
        return 0;
    }
    hasThread_ = true;
    return 1;
}

bool WorkerThread::isRunning() const
{
    return hasThread_ && !exited_.load();
}

void WorkerThread::sleepMs(int milliseconds)
{
    std::unique_lock lock(sleepMutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopRequested(); });
}

void* WorkerThread::threadMain(void* self)
{
    auto* worker = static_cast<WorkerThread*>(self);
    char name[16] = {};
    std::strncpy(name, worker->threadName(), sizeof name - 1);
    pthread_setname_np(pthread_self(), name);
    worker->run();
    worker->exited_.store(true);
    return nullptr;
}

void WorkerThread::releaseThread()
{
    pthread_join(thread_, nullptr);
    hasThread_ = false;
    thread_ = {};
}

}  // namespace tarnix
