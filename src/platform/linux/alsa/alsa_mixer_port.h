#pragma once

#include "audio/mixer_port.h"

#include <string>

namespace tarnix {

// The sound cards' simple mixers as mixer devices, named by card. Lines map onto the usual
// element names: speakers to "Speaker", "Master" or "Headphone", wave-out to "PCM", wave-in to
// "Capture", microphone to "Mic"; volumes are scaled onto 0..65535.
class AlsaMixerPort final : public MixerPort {
public:
    int deviceCount() const override;
    bool deviceName(int id, std::string& name) const override;
    std::unique_ptr<MixerDevice> open(int id) override;
    // The mixer of one ALSA control device: a card ("hw:0") or a plugin ("pulse"). Null when it
    // cannot be opened.
    static std::unique_ptr<MixerDevice> openControl(const std::string& name);
};

}  // namespace tarnix
