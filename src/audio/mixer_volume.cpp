#include "audio/mixer_volume.h"

#include "config/text_match.h"

#include <string>
#include <vector>

namespace tarnix {

MixerVolume::~MixerVolume()
{
    closeMixer();
}

int MixerVolume::openMixer(int id)
{
    closeMixer();
    deviceCount_ = port_.deviceCount();
    mixer_ = port_.open(id);
    if (mixer_ == nullptr) {
        return 0;
    }
    if (probeLine(MixerSpeakers)) {
        outputType_ = MixerSpeakers;
    } else if (probeLine(MixerWaveOut)) {
        outputType_ = MixerWaveOut;
    }
    if (probeLine(MixerWaveIn)) {
        inputType_ = MixerWaveIn;
    }
    if (probeLine(MixerMicrophone)) {
        inputType_ = MixerMicrophone;
    }
    return 1;
}

bool MixerVolume::probeLine(std::uint32_t componentType)
{
    LineEntry entry;
    entry.componentType = componentType;
    entry.line = mixer_->findLine(componentType);
    if (entry.line < 0) {
        return false;
    }
    entry.control = mixer_->findVolumeControl(entry.line);
    if (entry.control < 0 || mixer_->getControlValue(entry.control, entry.value) == 0) {
        return false;
    }
    entries_[entryCount_++] = entry;
    return true;
}

int MixerVolume::openMixerByName(std::string_view text)
{
    std::vector<std::string> names;
    const int count = port_.deviceCount();
    std::string name;
    for (int id = 0; id < count && static_cast<int>(names.size()) < MaxNamedDevices; ++id) {
        if (port_.deviceName(id, name)) {
            names.push_back(name);
        }
    }
    if (!text.empty()) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i].find(text) != std::string::npos) {
                return openMixer(static_cast<int>(i));
            }
        }
    }
    return openMixer(0);
}

int MixerVolume::openHandsetMixer()
{
    const int count = port_.deviceCount();
    std::string name;
    for (int id = 0; id < count; ++id) {
        if (port_.deviceName(id, name) &&
            (equalsIgnoringCase(name, "USB Audio Device") || name.find("USB") != std::string::npos)) {
            return openMixer(id);
        }
    }
    return openMixer(0);
}

void MixerVolume::closeMixer()
{
    mixer_.reset();
    resetMixer();
}

void MixerVolume::resetMixer()
{
    mixer_.reset();
    deviceCount_ = 0;
    entryCount_ = 0;
    for (LineEntry& entry : entries_) {
        entry = LineEntry{};
    }
    inputType_ = MixerMicrophone;
    outputType_ = MixerSpeakers;
}

std::uint32_t MixerVolume::lineTypeFor(std::uint32_t kind) const
{
    if (kind == MixerSpeakers) return outputType_;
    if (kind == MixerMicrophone) return inputType_;
    return kind;
}

int MixerVolume::getVolume(std::uint32_t kind, std::uint32_t& value)
{
    const std::uint32_t type = lineTypeFor(kind);
    std::uint64_t sum = 0;
    int matched = 0;
    for (int i = 0; i < entryCount_; ++i) {
        LineEntry& entry = entries_[i];
        if (entry.componentType != type) {
            continue;
        }
        mixer_->getControlValue(entry.control, entry.value);
        sum += entry.value;
        ++matched;
    }
    value = matched == 0 ? 0 : static_cast<std::uint32_t>(sum / static_cast<std::uint64_t>(matched));
    return matched == 0 ? 0 : 1;
}

int MixerVolume::setVolume(std::uint32_t kind, std::uint32_t value)
{
    const std::uint32_t type = lineTypeFor(kind);
    for (int i = 0; i < entryCount_; ++i) {
        LineEntry& entry = entries_[i];
        if (entry.componentType == type && mixer_->setControlValue(entry.control, value) != 0) {
            entry.value = value;
        }
    }
    return 1;
}

}  // namespace tarnix
