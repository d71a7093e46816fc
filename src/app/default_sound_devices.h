#pragma once

#include <string>

namespace tarnix {

enum class SoundDirection { Playback, Record };

// The sound server's default playback and recording devices, named by the devices' product names.
class DefaultSoundDevices {
public:
    virtual ~DefaultSoundDevices() = default;

    // Reaches the sound server; false when none runs.
    virtual bool open() = 0;
    // The product name of the current default device; empty when there is none.
    virtual std::string currentDefault(SoundDirection direction) = 0;
    // Makes the device of this product name the default; false when there is no such device or
    // the server refuses.
    virtual bool setDefault(SoundDirection direction, const std::string& name) = 0;
};

}  // namespace tarnix
