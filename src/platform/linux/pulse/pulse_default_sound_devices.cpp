#include "platform/linux/pulse/pulse_default_sound_devices.h"

#include "platform/linux/pulse/pulse_log.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <optional>
#include <vector>

namespace tarnix {
namespace {

constexpr auto RequestTimeout = std::chrono::milliseconds(1000);

struct Device {
    std::string serverName;  // the server's own identifier, e.g. "alsa_output.usb-...-00.analog-stereo"
    std::string productName;
    std::string description;
};

template <typename Info>
Device describe(const Info& info)
{
    Device device;
    device.serverName = info.name ? info.name : "";
    device.description = info.description ? info.description : "";
    const char* card = pa_proplist_gets(info.proplist, "alsa.card_name");
    const char* pcm = pa_proplist_gets(info.proplist, "alsa.name");
    device.productName = card && pcm ? std::string(card) + ", " + pcm : device.description;
    return device;
}

// Collects the devices a sink or source info callback delivers.
template <typename Info>
void collect(pa_context*, const Info* info, int endOfList, void* devices)
{
    if (!endOfList && info) {
        static_cast<std::vector<Device>*>(devices)->push_back(describe(*info));
    }
}

}  // namespace

struct PulseDefaultSoundDevices::Connection {
    Connection() : loop(pa_mainloop_new()) {}
    ~Connection()
    {
        if (context) {
            pa_context_disconnect(context);
            pa_context_unref(context);
        }
        pa_mainloop_free(loop);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs the loop until done() holds; false when the server does not answer in time.
    template <typename Done>
    bool runUntil(Done done)
    {
        const auto deadline = std::chrono::steady_clock::now() + RequestTimeout;
        while (!done()) {
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0 ||
                pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0) {
                return false;
            }
        }
        return true;
    }

    // Waits for an operation the callbacks complete; false when it failed or timed out.
    bool finish(pa_operation* operation)
    {
        if (!operation) {
            return false;
        }
        const bool answered =
            runUntil([&] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
        const bool done = answered && pa_operation_get_state(operation) == PA_OPERATION_DONE;
        if (!answered) {
            pa_operation_cancel(operation);
        }
        pa_operation_unref(operation);
        return done;
    }

    bool ready() const { return context && pa_context_get_state(context) == PA_CONTEXT_READY; }

    std::vector<Device> devices(SoundDirection direction)
    {
        std::vector<Device> found;
        pa_operation* operation =
            direction == SoundDirection::Playback
                ? pa_context_get_sink_info_list(context, collect<pa_sink_info>, &found)
                : pa_context_get_source_info_list(context, collect<pa_source_info>, &found);
        if (!finish(operation)) {
            return {};
        }
        return found;
    }

    pa_mainloop* loop;
    pa_context* context = nullptr;
};

PulseDefaultSoundDevices::PulseDefaultSoundDevices() = default;

PulseDefaultSoundDevices::~PulseDefaultSoundDevices() = default;

bool PulseDefaultSoundDevices::open()
{
    if (connection_) {
        // Take in what happened since the last request, such as the server hanging up.
        pa_mainloop_iterate(connection_->loop, 0, nullptr);
        if (connection_->ready()) {
            return true;
        }
    }
    connection_ = std::make_unique<Connection>();
    Connection& c = *connection_;
    c.context = pa_context_new(pa_mainloop_get_api(c.loop), "Tarnix USB Phone Driver");
    // Never start a sound server of our own: with none running there is no default to move.
    const bool connected = c.context &&
                           pa_context_connect(c.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
                           c.runUntil([&] {
                               const pa_context_state_t state = pa_context_get_state(c.context);
                               return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
                           }) &&
                           c.ready();
    if (!connected) {
        connection_.reset();
        if (!noServerLogged_) {
            qCInfo(lcPulse, "no sound server: default sound devices stay as they are");
        }
    }
    noServerLogged_ = !connected;
    return connected;
}

std::string PulseDefaultSoundDevices::currentDefault(SoundDirection direction)
{
    if (!open()) {
        return {};
    }
    struct Defaults {
        std::string sink;
        std::string source;
    } defaults;
    // A failed request calls back without the information.
    auto onInfo = [](pa_context*, const pa_server_info* info, void* result) {
        if (info) {
            auto& d = *static_cast<Defaults*>(result);
            d.sink = info->default_sink_name ? info->default_sink_name : "";
            d.source = info->default_source_name ? info->default_source_name : "";
        }
    };
    if (!connection_->finish(pa_context_get_server_info(connection_->context, onInfo, &defaults))) {
        return {};
    }
    const std::string& serverName = direction == SoundDirection::Playback ? defaults.sink : defaults.source;
    if (serverName.empty()) {
        return {};
    }
    for (const Device& device : connection_->devices(direction)) {
        if (device.serverName == serverName) {
            return device.productName;
        }
    }
    return {};
}

bool PulseDefaultSoundDevices::setDefault(SoundDirection direction, const std::string& name)
{
    if (!open()) {
        return false;
    }
    std::optional<Device> target;
    for (Device& device : connection_->devices(direction)) {
        if (device.productName == name || device.description == name) {
            target = std::move(device);
            break;
        }
    }
    if (!target) {
        qCWarning(lcPulse, "no sound device named \"%s\" to make the default", name.c_str());
        return false;
    }
    int success = 0;
    auto onResult = [](pa_context*, int ok, void* result) { *static_cast<int*>(result) = ok; };
    pa_context* context = connection_->context;
    const char* serverName = target->serverName.c_str();
    pa_operation* operation = direction == SoundDirection::Playback
                                  ? pa_context_set_default_sink(context, serverName, onResult, &success)
                                  : pa_context_set_default_source(context, serverName, onResult, &success);
    return connection_->finish(operation) && success != 0;
}

}  // namespace tarnix
