#pragma once

#include "audio/wave_device.h"
#include "base/event_loop.h"
#include "platform/linux/alsa/udev_sound_monitor.h"
#include "platform/linux/pulse/pulse_device_watch.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace tarnix {

// The ALSA PCMs as wave devices: a running sound server's devices first, then the cards'
// hardware devices (opened through a converting PCM, so any rate and sample size plays on a
// device that offers one) and the PCMs the user's configuration names, in the order ALSA lists
// them. Listing is costly (ALSA probes every possible card and re-reads its configuration, a
// sound server may be slow to answer): the lists are read once, on a thread of their own, and
// again only when sound devices or the sound server come or go; until the new lists are in,
// queries see the old ones. Queries never list on the caller's thread unless they come before
// the reader's first pass. A PCM that ALSA says is not there is not asked for again until sound
// devices come or go: on a computer without sound every key tone had ALSA print a page of
// complaints.
class AlsaWaveDevices final : public WaveDevices {
public:
    struct Entry {
        std::string pcm;        // what to open
        std::string product;    // see productName()
        bool readable = false;  // false when there is no description
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    static constexpr const char* DefaultPcm = "default";

    static std::vector<Entry> list(bool output);

    // Starts reading the lists.
    AlsaWaveDevices();
    ~AlsaWaveDevices() override;
    AlsaWaveDevices(const AlsaWaveDevices&) = delete;
    AlsaWaveDevices& operator=(const AlsaWaveDevices&) = delete;

    // Reads the lists again whenever udev tells of a sound device added or removed, or the sound
    // server of a device or of itself; `changed` then runs on the loop if a list came out
    // different.
    void followChanges(EventLoop& loop, EventLoop::Task changed);
    // Sound devices came or went: the lists are read again (queries see them once read).
    void devicesChanged();

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
    // The listing in that direction, read first if it is not there. Called with the mutex held.
    const Listing& listing(bool output) const;
    // Makes the entries the listing and tells of a change. Called with the mutex held.
    void install(bool output, std::vector<Entry> entries) const;
    const Entry* entryAt(bool output, int id) const;
    void readLists(std::stop_token stop);
    // The device on the PCM, unless it was found missing since the last change.
    template <typename Device>
    std::unique_ptr<Device> openUnlessMissing(bool output, const std::string& pcm, const PcmFormat& format);

    // Filled by the const queries: the listing is a cache of ALSA's answer, not the object's state.
    mutable std::mutex mutex_;
    mutable std::array<Listing, 2> listings_;
    // The lists as first read or last told of, to tell only changes.
    mutable std::array<std::optional<std::vector<Entry>>, 2> told_;
    // Changes told, and those the lists were last read after.
    std::uint64_t changes_ = 0;
    std::uint64_t readChanges_ = 0;
    EventLoop* loop_ = nullptr;
    EventLoop::Task changed_;
    std::condition_variable_any stale_;
    // PCMs found missing since the last change, by direction (output first).
    std::array<std::set<std::string>, 2> missing_;
    std::unique_ptr<UdevSoundMonitor> monitor_;
    std::unique_ptr<PulseDeviceWatch> serverWatch_;
    // Last, so it stops before the lists it fills go.
    std::jthread reader_;
};

}  // namespace tarnix
