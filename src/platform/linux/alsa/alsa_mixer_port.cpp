#include "platform/linux/alsa/alsa_mixer_port.h"

#include "audio/audio_log.h"

#include <alsa/asoundlib.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tarnix {

namespace {

constexpr long ScaleMax = 65535;

std::vector<int> cardNumbers()
{
    std::vector<int> cards;
    for (int card = -1; snd_card_next(&card) == 0 && card >= 0;) {
        cards.push_back(card);
    }
    return cards;
}

struct LineElements {
    std::uint32_t type;
    bool capture;
    std::initializer_list<const char*> names;
};

const LineElements Lines[] = {
    {MixerSpeakers, false, {"Speaker", "Master", "Headphone"}},
    {MixerWaveOut, false, {"PCM"}},
    {MixerWaveIn, true, {"Capture"}},
    {MixerMicrophone, true, {"Mic"}},
};

// Values are read from the mixer's copy, which follows the card only as its events are handled:
// each call takes in what changed since (another program's volume, elements gone with an unplug).
class AlsaMixer final : public MixerDevice {
public:
    explicit AlsaMixer(snd_mixer_t* mixer) : mixer_(mixer) {}
    ~AlsaMixer() override { snd_mixer_close(mixer_); }

    // Lines are the index in Lines; a line's control is the same index.
    int findLine(std::uint32_t componentType) override
    {
        catchUp();
        for (std::size_t i = 0; i < std::size(Lines); ++i) {
            if (Lines[i].type == componentType && element(Lines[i]) != nullptr) return static_cast<int>(i);
        }
        return -1;
    }

    int findVolumeControl(int line) override { return line; }

    int getControlValue(int control, std::uint32_t& value) override
    {
        if (!isControl(control)) return 0;
        catchUp();
        const LineElements& line = Lines[static_cast<std::size_t>(control)];
        snd_mixer_elem_t* elem = element(line);
        if (elem == nullptr) return 0;
        long min = 0, max = 0, raw = 0;
        const int err = line.capture ? snd_mixer_selem_get_capture_volume_range(elem, &min, &max)
                                     : snd_mixer_selem_get_playback_volume_range(elem, &min, &max);
        const int got = line.capture ? snd_mixer_selem_get_capture_volume(elem, SND_MIXER_SCHN_MONO, &raw)
                                     : snd_mixer_selem_get_playback_volume(elem, SND_MIXER_SCHN_MONO, &raw);
        if (err < 0 || got < 0 || max <= min) return 0;
        value = static_cast<std::uint32_t>((raw - min) * ScaleMax / (max - min));
        return 1;
    }

    int setControlValue(int control, std::uint32_t value) override
    {
        if (!isControl(control)) return 0;
        catchUp();
        const LineElements& line = Lines[static_cast<std::size_t>(control)];
        snd_mixer_elem_t* elem = element(line);
        if (elem == nullptr) return 0;
        long min = 0, max = 0;
        const int err = line.capture ? snd_mixer_selem_get_capture_volume_range(elem, &min, &max)
                                     : snd_mixer_selem_get_playback_volume_range(elem, &min, &max);
        if (err < 0 || max <= min) return 0;
        const long raw =
            min + (static_cast<long>(std::min<std::uint32_t>(value, ScaleMax)) * (max - min) + ScaleMax / 2) /
                      ScaleMax;
        const int set = line.capture ? snd_mixer_selem_set_capture_volume_all(elem, raw)
                                     : snd_mixer_selem_set_playback_volume_all(elem, raw);
        return set < 0 ? 0 : 1;
    }

private:
    static bool isControl(int control)
    {
        return control >= 0 && control < static_cast<int>(std::size(Lines));
    }

    // Handles the events waiting; the control devices are non-blocking, so none waits for more.
    void catchUp()
    {
        const int err = snd_mixer_handle_events(mixer_);
        if (err < 0) qCInfo(lcAudio, "mixer events cannot be read: %s", snd_strerror(err));
    }

    // The first element of the line's names with a volume in the line's direction.
    snd_mixer_elem_t* element(const LineElements& line)
    {
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        for (const char* name : line.names) {
            snd_mixer_selem_id_set_name(id, name);
            snd_mixer_selem_id_set_index(id, 0);
            snd_mixer_elem_t* elem = snd_mixer_find_selem(mixer_, id);
            if (elem != nullptr && (line.capture ? snd_mixer_selem_has_capture_volume(elem)
                                                 : snd_mixer_selem_has_playback_volume(elem))) {
                return elem;
            }
        }
        return nullptr;
    }

    snd_mixer_t* mixer_;
};

}  // namespace

int AlsaMixerPort::deviceCount() const
{
    return static_cast<int>(cardNumbers().size());
}

bool AlsaMixerPort::deviceName(int id, std::string& name) const
{
    const std::vector<int> cards = cardNumbers();
    if (id < 0 || id >= static_cast<int>(cards.size())) {
        return false;
    }
    char* cardName = nullptr;
    if (snd_card_get_name(cards[static_cast<std::size_t>(id)], &cardName) < 0) {
        return false;
    }
    name = cardName;
    std::free(cardName);
    return true;
}

std::unique_ptr<MixerDevice> AlsaMixerPort::open(int id)
{
    const std::vector<int> cards = cardNumbers();
    if (id < 0 || id >= static_cast<int>(cards.size())) {
        return nullptr;
    }
    return openControl("hw:" + std::to_string(cards[static_cast<std::size_t>(id)]));
}

std::unique_ptr<MixerDevice> AlsaMixerPort::openControl(const std::string& name)
{
    snd_mixer_t* mixer = nullptr;
    snd_hctl_t* hctl = nullptr;
    int err = snd_mixer_open(&mixer, 0);
    if (err >= 0) err = snd_mixer_attach(mixer, name.c_str());
    if (err >= 0) err = snd_mixer_get_hctl(mixer, name.c_str(), &hctl);
    if (err >= 0) err = snd_ctl_nonblock(snd_hctl_ctl(hctl), 1);
    if (err >= 0) err = snd_mixer_selem_register(mixer, nullptr, nullptr);
    if (err >= 0) err = snd_mixer_load(mixer);
    if (err < 0) {
        qCWarning(lcAudio, "mixer of %s cannot be opened: %s", name.c_str(), snd_strerror(err));
        if (mixer != nullptr) snd_mixer_close(mixer);
        return nullptr;
    }
    return std::make_unique<AlsaMixer>(mixer);
}

}  // namespace tarnix
