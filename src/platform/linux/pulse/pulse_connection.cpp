#include "platform/linux/pulse/pulse_connection.h"

#include <chrono>

namespace tarnix {
namespace {

constexpr auto RequestTimeout = std::chrono::milliseconds(1000);

bool isMonitor(const pa_sink_info&)
{
    return false;
}

bool isMonitor(const pa_source_info& info)
{
    return info.monitor_of_sink != PA_INVALID_INDEX;
}

template <typename Info>
PulseDevice describe(const Info& info)
{
    PulseDevice device;
    device.serverName = info.name ? info.name : "";
    device.description = info.description ? info.description : "";
    const char* card = pa_proplist_gets(info.proplist, "alsa.card_name");
    const char* pcm = pa_proplist_gets(info.proplist, "alsa.name");
    device.productName = card && pcm ? std::string(card) + ", " + pcm : device.description;
    device.monitor = isMonitor(info);
    return device;
}

// Collects the devices a sink or source info callback delivers.
template <typename Info>
void collect(pa_context*, const Info* info, int endOfList, void* devices)
{
    if (!endOfList && info) {
        static_cast<std::vector<PulseDevice>*>(devices)->push_back(describe(*info));
    }
}

}  // namespace

PulseConnection::PulseConnection() : loop_(pa_mainloop_new()) {}

PulseConnection::~PulseConnection()
{
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    pa_mainloop_free(loop_);
}

std::unique_ptr<PulseConnection> PulseConnection::open()
{
    std::unique_ptr<PulseConnection> c(new PulseConnection);
    c->context_ = pa_context_new(pa_mainloop_get_api(c->loop_), PulseClientName);
    // Never start a sound server of our own: with none running there is nothing to ask.
    const bool connected = c->context_ &&
                           pa_context_connect(c->context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
                           c->runUntil([&] {
                               const pa_context_state_t state = pa_context_get_state(c->context_);
                               return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
                           }) &&
                           c->ready();
    if (!connected) c.reset();
    return c;
}

bool PulseConnection::alive()
{
    pa_mainloop_iterate(loop_, 0, nullptr);
    return ready();
}

bool PulseConnection::ready() const
{
    return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY;
}

template <typename Done>
bool PulseConnection::runUntil(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + RequestTimeout;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || pa_mainloop_prepare(loop_, static_cast<int>(left.count())) < 0 ||
            pa_mainloop_poll(loop_) < 0 || pa_mainloop_dispatch(loop_) < 0) {
            return false;
        }
    }
    return true;
}

bool PulseConnection::finish(pa_operation* operation)
{
    if (!operation) {
        return false;
    }
    const bool answered = runUntil([&] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
    const bool done = answered && pa_operation_get_state(operation) == PA_OPERATION_DONE;
    if (!answered) {
        pa_operation_cancel(operation);
    }
    pa_operation_unref(operation);
    return done;
}

std::vector<PulseDevice> PulseConnection::devices(bool playback)
{
    std::vector<PulseDevice> found;
    pa_operation* operation =
        playback ? pa_context_get_sink_info_list(context_, collect<pa_sink_info>, &found)
                 : pa_context_get_source_info_list(context_, collect<pa_source_info>, &found);
    if (!finish(operation)) {
        return {};
    }
    return found;
}

}  // namespace tarnix
