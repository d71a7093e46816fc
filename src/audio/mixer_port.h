#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tarnix {

// Kinds of mixer lines, by the component types the volume logic asks for.
enum MixerLineType : std::uint32_t {
    MixerSpeakers = 4,  // playback destination
    MixerWaveIn = 7,    // capture destination
    MixerMicrophone = 0x1003,
    MixerWaveOut = 0x1008,
};

// One open mixer device. Lines and controls are addressed by the ids it hands out.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;
    // The line of that component type, or -1.
    virtual int findLine(std::uint32_t componentType) = 0;
    // The line's volume control, or -1.
    virtual int findVolumeControl(int line) = 0;
    // Volume on 0..65535. Return 1 on success, 0 on failure.
    virtual int getControlValue(int control, std::uint32_t& value) = 0;
    virtual int setControlValue(int control, std::uint32_t value) = 0;
};

// The platform's mixer devices, by index.
class MixerPort {
public:
    virtual ~MixerPort() = default;
    virtual int deviceCount() const = 0;
    // False when the device's capabilities cannot be read.
    virtual bool deviceName(int id, std::string& name) const = 0;
    // Null when the device cannot be opened.
    virtual std::unique_ptr<MixerDevice> open(int id) = 0;
};

}  // namespace tarnix
