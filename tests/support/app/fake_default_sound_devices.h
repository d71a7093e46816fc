#pragma once

#include "app/default_sound_devices.h"
#include "transcript.h"

#include <map>
#include <set>
#include <string>

namespace tarnix::test {

// A sound server with a default per direction. It is called from the mover's thread: read it once
// the mover is idle.
class FakeDefaultSoundDevices final : public DefaultSoundDevices {
public:
    bool open() override { return running; }
    std::string currentDefault(SoundDirection direction) override { return defaults[direction]; }
    bool setDefault(SoundDirection direction, const std::string& name) override
    {
        if (!devices.empty() && !devices.contains(name)) return false;
        defaults[direction] = name;
        moves.push_back(
            std::string(direction == SoundDirection::Playback ? "default playback " : "default record ") +
            name);
        return true;
    }

    bool running = true;
    std::map<SoundDirection, std::string> defaults;
    // The devices it knows; empty: any name.
    std::set<std::string> devices;
    // "default playback Built-in Audio" for every default it set.
    Transcript moves;
};

}  // namespace tarnix::test
