#pragma once

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdint>
#include <functional>

namespace tarnix {

// Tells when the sound server's sinks or sources come or go, and when a server comes or goes
// (one started after us, or one that restarts). `changed` is called on libpulse's own thread.
// With no server it looks again after 2 s, then less and less often, up to once a minute.
class PulseDeviceWatch {
public:
    explicit PulseDeviceWatch(std::function<void()> changed);
    ~PulseDeviceWatch();
    PulseDeviceWatch(const PulseDeviceWatch&) = delete;
    PulseDeviceWatch& operator=(const PulseDeviceWatch&) = delete;

private:
    static void onState(pa_context* context, void* self);
    static void onEvent(pa_context* context, pa_subscription_event_type_t type, std::uint32_t index,
                        void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* when, void* self);
    // These run on libpulse's thread, or before it starts and after it ends.
    void connect();
    void dropContext();
    void retryLater();
    void serverIs(bool there);

    std::function<void()> changed_;
    pa_threaded_mainloop* loop_;
    pa_mainloop_api* api_;
    pa_context* context_ = nullptr;
    pa_time_event* retry_ = nullptr;
    std::chrono::seconds retryDelay_{2};
    // Whether a server was there when last looked; unknown until the first look, which tells
    // nobody (the device lists were read at about the same time).
    enum class Server { Unknown, There, Absent } server_ = Server::Unknown;
};

}  // namespace tarnix
