#include "platform/linux/pulse/pulse_device_watch.h"

#include "platform/linux/pulse/pulse_connection.h"

#include <algorithm>

namespace tarnix {
namespace {

constexpr std::chrono::seconds LongestRetryDelay{64};

}  // namespace

PulseDeviceWatch::PulseDeviceWatch(std::function<void()> changed)
    : changed_(std::move(changed)),
      loop_(pa_threaded_mainloop_new()),
      api_(pa_threaded_mainloop_get_api(loop_))
{
    connect();
    pa_threaded_mainloop_start(loop_);
}

PulseDeviceWatch::~PulseDeviceWatch()
{
    pa_threaded_mainloop_stop(loop_);
    if (retry_) api_->time_free(retry_);
    dropContext();
    pa_threaded_mainloop_free(loop_);
}

void PulseDeviceWatch::connect()
{
    context_ = pa_context_new(api_, PulseClientName);
    if (!context_) {
        retryLater();
        return;
    }
    pa_context_set_state_callback(context_, onState, this);
    pa_context_set_subscribe_callback(context_, onEvent, this);
    // Never start a server: one that starts by itself later is found by the retries.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        serverIs(false);
        retryLater();
    }
}

void PulseDeviceWatch::dropContext()
{
    if (!context_) return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_set_subscribe_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

void PulseDeviceWatch::retryLater()
{
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(retryDelay_.count()) * PA_USEC_PER_SEC);
    retryDelay_ = std::min(retryDelay_ * 2, LongestRetryDelay);
    if (retry_) {
        api_->time_restart(retry_, &when);
    } else {
        retry_ = api_->time_new(api_, &when, onRetry, this);
    }
}

void PulseDeviceWatch::serverIs(bool there)
{
    const Server now = there ? Server::There : Server::Absent;
    const bool changed = server_ != Server::Unknown && server_ != now;
    server_ = now;
    if (changed) changed_();
}

void PulseDeviceWatch::onState(pa_context* context, void* self)
{
    auto& watch = *static_cast<PulseDeviceWatch*>(self);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            watch.retryDelay_ = std::chrono::seconds(2);
            pa_operation_unref(pa_context_subscribe(
                context,
                static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SOURCE),
                nullptr, nullptr));
            watch.serverIs(true);
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            // The context goes in the retry, outside its own callback.
            watch.serverIs(false);
            watch.retryLater();
            break;
        default:
            break;
    }
}

void PulseDeviceWatch::onEvent(pa_context*, pa_subscription_event_type_t type, std::uint32_t, void* self)
{
    const unsigned kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    // Changes of volume or state come often and leave the lists as they are.
    if (kind == PA_SUBSCRIPTION_EVENT_NEW || kind == PA_SUBSCRIPTION_EVENT_REMOVE) {
        static_cast<PulseDeviceWatch*>(self)->changed_();
    }
}

void PulseDeviceWatch::onRetry(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
{
    auto& watch = *static_cast<PulseDeviceWatch*>(self);
    watch.dropContext();
    watch.connect();
}

}  // namespace tarnix
