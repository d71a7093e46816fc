#pragma once

#include "app/default_sound_devices.h"

#include <memory>
#include <string>

namespace tarnix {

// The default sink (playback) and source (record) of the PulseAudio or PipeWire sound server.
// A device's product name is the one the ALSA device list gives it, "<card>, <pcm>" (for
// example "USB Audio Device, USB Audio"), for devices the server drives through ALSA; for any
// other device it is the device description the desktop shows. A device is found by its
// product name or its description. Every request waits at most a second for the server, on the
// caller's thread.
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
    struct Connection;

    std::unique_ptr<Connection> connection_;
    bool noServerLogged_ = false;
};

}  // namespace tarnix
