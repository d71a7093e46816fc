#pragma once

#include "app/default_sound_devices.h"
#include "platform/linux/pulse/pulse_connection.h"

#include <memory>
#include <string>

namespace tarnix {

// The default sink (playback) and source (record) of the PulseAudio or PipeWire sound server.
// Devices go by their product names (see PulseDevice); one is found by its product name or its
// description, whole or cut as the device lists cut them. Every request waits at most a second
// for the server, on the caller's thread.
class PulseDefaultSoundDevices final : public DefaultSoundDevices {
public:
    PulseDefaultSoundDevices();
    ~PulseDefaultSoundDevices() override;
    PulseDefaultSoundDevices(const PulseDefaultSoundDevices&) = delete;
    PulseDefaultSoundDevices& operator=(const PulseDefaultSoundDevices&) = delete;

    // Connects once and keeps the connection; a server that went away is reached anew. Never
    // starts a server.
    bool open() override;
    std::string currentDefault(SoundDirection direction) override;
    bool setDefault(SoundDirection direction, const std::string& name) override;

private:
    std::unique_ptr<PulseConnection> connection_;
    bool noServerLogged_ = false;
};

}  // namespace tarnix
