#include "platform/linux/pulse/pulse_default_sound_devices.h"

#include "base/product_name.h"
#include "platform/linux/pulse/pulse_log.h"

#include <optional>

namespace tarnix {
namespace {

// Names in the device lists are cut (see productName): a cut name stands for the whole.
bool goesBy(const PulseDevice& device, const std::string& name)
{
    for (const std::string* own : {&device.productName, &device.description}) {
        if (*own == name || productName(*own) == name) return true;
    }
    return false;
}

}  // namespace

PulseDefaultSoundDevices::PulseDefaultSoundDevices() = default;

PulseDefaultSoundDevices::~PulseDefaultSoundDevices() = default;

bool PulseDefaultSoundDevices::open()
{
    if (connection_ && connection_->alive()) {
        return true;
    }
    connection_ = PulseConnection::open();
    const bool connected = connection_ != nullptr;
    if (!connected) {
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
    if (!connection_->finish(pa_context_get_server_info(connection_->context(), onInfo, &defaults))) {
        return {};
    }
    const std::string& serverName = direction == SoundDirection::Playback ? defaults.sink : defaults.source;
    if (serverName.empty()) {
        return {};
    }
    for (const PulseDevice& device : connection_->devices(direction == SoundDirection::Playback)) {
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
    std::optional<PulseDevice> target;
    for (PulseDevice& device : connection_->devices(direction == SoundDirection::Playback)) {
        if (goesBy(device, name)) {
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
    pa_context* context = connection_->context();
    const char* serverName = target->serverName.c_str();
    pa_operation* operation = direction == SoundDirection::Playback
                                  ? pa_context_set_default_sink(context, serverName, onResult, &success)
                                  : pa_context_set_default_source(context, serverName, onResult, &success);
    return connection_->finish(operation) && success != 0;
}

}  // namespace tarnix
