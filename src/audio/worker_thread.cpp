#include "audio/worker_thread.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace tarnix {

WorkerThread::~WorkerThread()
{
    if (hasThread_) {
        stopFlag_.store(true, std::memory_order_relaxed);
        releaseThread();
    }
}

int WorkerThread::stop()
{
    if (!hasThread_) {
        return 0;
    }
    stopFlag_.store(true, std::memory_order_relaxed);
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
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
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
