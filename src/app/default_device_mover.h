#pragma once

#include "app/default_sound_devices.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace tarnix {

// Moves the computer's default sound devices away from the handset (changeDefaultDevice) on a
// thread of its own: a sound server that hangs may keep each request waiting for a second, and
// the user interface must not wait with it. Only this thread touches the devices port.
class DefaultDeviceMover {
public:
    explicit DefaultDeviceMover(DefaultSoundDevices& devices);
    // Finishes the request under way; the ones still waiting are dropped.
    ~DefaultDeviceMover();
    DefaultDeviceMover(const DefaultDeviceMover&) = delete;
    DefaultDeviceMover& operator=(const DefaultDeviceMover&) = delete;

    // A newer request for the same direction replaces one still waiting: only the last counts.
    void move(SoundDirection direction, const std::string& name);
    // Returns once every request made so far has been carried out.
    void waitUntilIdle();

private:
    struct Request {
        SoundDirection direction;
        std::string name;
    };

    void run(const std::stop_token& stop);

    DefaultSoundDevices& devices_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::condition_variable idle_;
    std::deque<Request> pending_;
    bool busy_ = false;
    // Last: the thread starts once everything it uses exists.
    std::jthread thread_;
};

}  // namespace tarnix
