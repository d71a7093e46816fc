#include "app/default_device_mover.h"

#include "app/app_log.h"
#include "app/default_device_change.h"

#include <algorithm>

namespace tarnix {

DefaultDeviceMover::DefaultDeviceMover(DefaultSoundDevices& devices)
    : devices_(devices), thread_([this](const std::stop_token& stop) { run(stop); })
{
}

DefaultDeviceMover::~DefaultDeviceMover()
{
    thread_.request_stop();
    thread_.join();
}

void DefaultDeviceMover::move(SoundDirection direction, const std::string& name)
{
    {
        const std::lock_guard lock(mutex_);
        const auto same = std::find_if(pending_.begin(), pending_.end(),
                                       [direction](const Request& r) { return r.direction == direction; });
        if (same != pending_.end()) {
            same->name = name;
        } else {
            pending_.push_back({direction, name});
        }
    }
    wake_.notify_one();
}

void DefaultDeviceMover::waitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return pending_.empty() && !busy_; });
}

void DefaultDeviceMover::run(const std::stop_token& stop)
{
    std::unique_lock lock(mutex_);
    while (wake_.wait(lock, stop, [this] { return !pending_.empty(); }) && !stop.stop_requested()) {
        const Request request = std::move(pending_.front());
        pending_.pop_front();
        busy_ = true;
        lock.unlock();
        const int result = changeDefaultDevice(devices_, request.direction, request.name);
        if (result != DefaultDeviceDone) {
            qCDebug(lcApp, "default %s device not moved to %s (%d)",
                    request.direction == SoundDirection::Playback ? "playback" : "record",
                    request.name.c_str(), result);
        }
        lock.lock();
        busy_ = false;
        if (pending_.empty()) idle_.notify_all();
    }
}

}  // namespace tarnix
