#include "platform/linux/alsa/alsa_wave_devices.h"

#include "platform/linux/alsa/alsa_wave_in.h"
#include "platform/linux/alsa/alsa_wave_out.h"
#include "platform/linux/pulse/pulse_connection.h"

#include "audio/audio_log.h"
#include "base/product_name.h"

#include <alsa/asoundlib.h>

#include <array>
#include <cstdlib>
#include <string_view>

namespace tarnix {

namespace {

// Plugins ALSA lists as PCMs that are converters or routes to a default rather than devices. A
// sound server's entries are its default route: its devices are listed one by one instead.
constexpr std::array<std::string_view, 13> NotDevices = {
    "null",  "default",  "sysdefault", "lavrate", "samplerate", "speexrate", "speex",
    "upmix", "vdownmix", "jack",       "oss",     "pulse",      "pipewire"};

std::string hintValue(const void* hint, const char* id)
{
    char* value = snd_device_name_get_hint(hint, id);
    std::string text = value == nullptr ? std::string() : std::string(value);
    std::free(value);
    return text;
}

// Which name to open for a listed PCM, or empty when it is not a device of its own.
std::string openableName(const std::string& name)
{
    if (name.starts_with("hw:")) {
        return "plug" + name;
    }
    if (name.find(':') != std::string::npos) {
        return {};
    }
    for (std::string_view skipped : NotDevices) {
        if (name == skipped) return {};
    }
    return name;
}

// The running sound server's devices, each opened through ALSA's pulse plugin by the server's
// own name (PipeWire serves the same protocol); none when no server answers.
std::vector<AlsaWaveDevices::Entry> serverDevices(bool output)
{
    std::vector<AlsaWaveDevices::Entry> entries;
    const std::unique_ptr<PulseConnection> server = PulseConnection::open();
    if (!server) {
        return entries;
    }
    for (const PulseDevice& device : server->devices(output)) {
        // A quote would end the plugin's argument early.
        if (device.monitor || device.serverName.find_first_of("\"\\") != std::string::npos) continue;
        entries.push_back({"pulse:\"" + device.serverName + "\"", productName(device.productName), true});
    }
    return entries;
}

}  // namespace

std::vector<AlsaWaveDevices::Entry> AlsaWaveDevices::list(bool output)
{
    // A server's devices first: it holds the cards, whose own entries below cannot open then.
    std::vector<Entry> entries = serverDevices(output);
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0) {
        return entries;
    }
    const char* wanted = output ? "Output" : "Input";
    for (void** hint = hints; *hint != nullptr; ++hint) {
        const std::string io = hintValue(*hint, "IOID");
        if (!io.empty() && io != wanted) {
            continue;
        }
        Entry entry;
        entry.pcm = openableName(hintValue(*hint, "NAME"));
        if (entry.pcm.empty()) {
            continue;
        }
        char* description = snd_device_name_get_hint(*hint, "DESC");
        entry.readable = description != nullptr;
        if (description != nullptr) {
            entry.product = productName(description);
            std::free(description);
        }
        entries.push_back(std::move(entry));
    }
    snd_device_name_free_hint(hints);
    return entries;
}

AlsaWaveDevices::AlsaWaveDevices() : reader_([this](std::stop_token stop) { readLists(stop); }) {}

AlsaWaveDevices::~AlsaWaveDevices() = default;

void AlsaWaveDevices::followChanges(EventLoop& loop, EventLoop::Task changed)
{
    {
        std::lock_guard lock(mutex_);
        loop_ = &loop;
        changed_ = std::move(changed);
    }
    monitor_ = std::make_unique<UdevSoundMonitor>(loop, [this] { devicesChanged(); });
    serverWatch_ = std::make_unique<PulseDeviceWatch>([this] { devicesChanged(); });
}

void AlsaWaveDevices::devicesChanged()
{
    {
        std::lock_guard lock(mutex_);
        ++changes_;
        for (auto& names : missing_) names.clear();
    }
    stale_.notify_one();
}

void AlsaWaveDevices::readLists(std::stop_token stop)
{
    std::unique_lock lock(mutex_);
    const auto stale = [this] {
        return !listings_[0].read || !listings_[1].read || readChanges_ != changes_;
    };
    while (stale_.wait(lock, stop, stale)) {
        const std::uint64_t changes = changes_;
        // Read unlocked: a sound server that hangs must not hold up the queries, which go on
        // with the lists as they were until these are in.
        lock.unlock();
        std::vector<Entry> outputs = list(true);
        std::vector<Entry> inputs = list(false);
        lock.lock();
        // A change that came meanwhile is read again on the next pass.
        install(true, std::move(outputs));
        install(false, std::move(inputs));
        readChanges_ = changes;
    }
}

void AlsaWaveDevices::install(bool output, std::vector<Entry> entries) const
{
    listings_[output] = {std::move(entries), true};
    std::optional<std::vector<Entry>>& told = told_[output];
    if (told && *told != listings_[output].entries && changed_) loop_->post(changed_);
    told = listings_[output].entries;
}

const AlsaWaveDevices::Listing& AlsaWaveDevices::listing(bool output) const
{
    // Only a query before the reader's first pass lists on the caller's thread.
    if (!listings_[output].read) install(output, list(output));
    return listings_[output];
}

int AlsaWaveDevices::count(bool output) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(listing(output).entries.size());
}

const AlsaWaveDevices::Entry* AlsaWaveDevices::entryAt(bool output, int id) const
{
    const std::vector<Entry>& entries = listing(output).entries;
    if (id < 0 || id >= static_cast<int>(entries.size())) {
        return nullptr;
    }
    return &entries[static_cast<std::size_t>(id)];
}

bool AlsaWaveDevices::nameOf(bool output, int id, std::string& name) const
{
    std::lock_guard lock(mutex_);
    const Entry* entry = entryAt(output, id);
    if (entry == nullptr || !entry->readable) {
        return false;
    }
    name = entry->product;
    return true;
}

std::string AlsaWaveDevices::pcmFor(bool output, int id) const
{
    if (id < 0) {
        return DefaultPcm;
    }
    std::lock_guard lock(mutex_);
    const Entry* entry = entryAt(output, id);
    return entry == nullptr ? std::string() : entry->pcm;
}

template <typename Device>
std::unique_ptr<Device> AlsaWaveDevices::openUnlessMissing(bool output, const std::string& pcm,
                                                           const PcmFormat& format)
{
    if (pcm.empty()) return nullptr;
    std::set<std::string>& missing = missing_[output ? 0 : 1];
    std::uint64_t changesBefore = 0;
    {
        std::lock_guard lock(mutex_);
        if (missing.contains(pcm)) {
            qCDebug(lcAudio, "PCM %s: still not there", pcm.c_str());
            return nullptr;
        }
        changesBefore = changes_;
    }
    auto device = std::make_unique<Device>();
    if (device->open(pcm, format)) return device;
    if (device->missing()) {
        std::lock_guard lock(mutex_);
        // A device that came while we tried may be the one: it is tried again next time.
        if (changes_ == changesBefore) missing.insert(pcm);
    }
    return nullptr;
}

std::unique_ptr<WaveInDevice> AlsaWaveDevices::openInput(int id, const PcmFormat& format)
{
    return openUnlessMissing<AlsaWaveIn>(false, pcmFor(false, id), format);
}

std::unique_ptr<WaveOutDevice> AlsaWaveDevices::openOutput(int id, const PcmFormat& format)
{
    return openUnlessMissing<AlsaWaveOut>(true, pcmFor(true, id), format);
}

}  // namespace tarnix
