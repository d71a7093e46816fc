#pragma once

#include "audio/mixer_port.h"

#include <cstdint>
#include <string_view>

namespace tarnix {

// Volume of one mixer device's speaker (or wave-out) and wave-in (or microphone) lines, on
// 0..65535. Used on the main thread only.
class MixerVolume {
public:
    static constexpr int MaxEntries = 3;
    static constexpr int MaxNamedDevices = 20;

    explicit MixerVolume(MixerPort& port) : port_(port) {}
    virtual ~MixerVolume();

    // Opens mixer id and probes its lines; returns 1 when the mixer opened.
    virtual int openMixer(int id);
    // The first mixer whose name contains text; mixer 0 when text is empty or nothing matches.
    virtual int openMixerByName(std::string_view text);
    virtual void closeMixer();
    virtual void resetMixer();

    // The first "USB Audio Device" (any case) or name containing "USB"; otherwise mixer 0.
    int openHandsetMixer();
    // kind MixerSpeakers selects the output line, MixerMicrophone the input line; any other kind
    // is a line type itself. Stores the average of the matching lines; 0 when none matched.
    int getVolume(std::uint32_t kind, std::uint32_t& value);
    int setVolume(std::uint32_t kind, std::uint32_t value);

    int deviceCount() const { return deviceCount_; }
    int entryCount() const { return entryCount_; }
    std::uint32_t inputLineType() const { return inputType_; }
    std::uint32_t outputLineType() const { return outputType_; }

private:
    struct LineEntry {
        std::uint32_t componentType = 0;
        int line = -1;
        int control = -1;
        std::uint32_t value = 0;
    };

    bool probeLine(std::uint32_t componentType);
    std::uint32_t lineTypeFor(std::uint32_t kind) const;

    MixerPort& port_;
    int deviceCount_ = 0;
    std::unique_ptr<MixerDevice> mixer_;
    int entryCount_ = 0;
    std::uint32_t inputType_ = MixerMicrophone;
    std::uint32_t outputType_ = MixerSpeakers;
    LineEntry entries_[MaxEntries];
};

}  // namespace tarnix
