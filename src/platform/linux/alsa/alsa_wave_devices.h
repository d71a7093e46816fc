#pragma once

#include "audio/wave_device.h"

#include <array>
#include <mutex>
#include <string>
#include <vector>

namespace tarnix {

// The ALSA PCMs as wave devices: the cards' hardware devices (opened through a converting PCM,
// so any rate and sample size plays on a device that offers one) and the PCMs the user's
// configuration names, in the order ALSA lists them. Ids index the list read by the last count
// of that direction: every look-up starts with a count, so a device plugged in later is seen by
// the next one, while the names and opens of one look-up stay on the list it counted. Listing
// is costly (ALSA probes every possible card and re-reads its configuration), so it is done
// once per count, not once per query.
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

    int outputCount() const override { return count(true); }
    int inputCount() const override { return count(false); }
    bool outputName(int id, std::string& name) const override { return nameOf(true, id, name); }
    bool inputName(int id, std::string& name) const override { return nameOf(false, id, name); }
    std::unique_ptr<WaveInDevice> openInput(int id, const PcmFormat& format) override;
    std::unique_ptr<WaveOutDevice> openOutput(int id, const PcmFormat& format) override;

private:
    struct Listing {
        std::vector<Entry> entries;
        bool read = false;
    };

    int count(bool output) const;
    bool nameOf(bool output, int id, std::string& name) const;
    std::string pcmFor(bool output, int id) const;
    // The entry of the last listing in that direction, listing first if there was none yet.
    const Entry* entryAt(bool output, int id) const;

    // Filled by the const queries: the listing is a cache of ALSA's answer, not the object's state.
    mutable std::mutex mutex_;
    mutable std::array<Listing, 2> listings_;
};

}  // namespace tarnix
