#pragma once

#include "audio/wave_device.h"

#include <string>
#include <vector>

namespace tarnix {

// The ALSA PCMs as wave devices: the cards' hardware devices (opened through a converting PCM,
// so any rate and sample size plays on a device that offers one) and the PCMs the user's
// configuration names, in the order ALSA lists them. The list is read afresh on every call.
class AlsaWaveDevices final : public WaveDevices {
public:
    struct Entry {
        std::string pcm;        // what to open
        std::string product;    // first line of the description
        bool readable = false;  // false when there is no description
    };

    static constexpr const char* DefaultPcm = "default";
    // Product names are cut to this many characters, as the names the look-ups were made for.
    static constexpr std::size_t MaxNameLength = 31;

    static std::vector<Entry> list(bool output);

    int outputCount() const override { return static_cast<int>(list(true).size()); }
    int inputCount() const override { return static_cast<int>(list(false).size()); }
    bool outputName(int id, std::string& name) const override { return nameOf(list(true), id, name); }
    bool inputName(int id, std::string& name) const override { return nameOf(list(false), id, name); }
    std::unique_ptr<WaveInDevice> openInput(int id, const PcmFormat& format) override;
    std::unique_ptr<WaveOutDevice> openOutput(int id, const PcmFormat& format) override;

private:
    static bool nameOf(const std::vector<Entry>& entries, int id, std::string& name);
    static std::string pcmFor(bool output, int id);
};

}  // namespace tarnix
