#include "device/melody_handset.h"

#include <algorithm>

namespace tarnix {

const KeyMap MelodyHandset::kKeys{{1, Key1},     {2, Key2},       {3, Key3},     {4, KeyNo}, {5, Key4},
                                  {6, Key5},     {7, Key6},       {8, KeyYes},   {9, Key7},  {10, Key8},
                                  {11, Key9},    {12, KeyDelete}, {13, KeyStar}, {14, Key0}, {15, KeyHash},
                                  {16, KeyMute}, {17, KeyUp},     {18, KeyDown}};

int MelodyHandset::SelectMelody(int melody)
{
    melody_ = melody;
    return 0;
}

MelodyHandset::~MelodyHandset()
{
    dropQueued();
}

bool MelodyHandset::send(const Report& report)
{
    if (queued_.empty() && host().nowMs() >= settledAtMs_) return writeNow(report);
    if (!fits(report.size())) return false;
    queued_.push_back(report);
    if (queued_.size() == 1) {
        const auto wait = int(std::max<std::int64_t>(settledAtMs_ - host().nowMs(), 0));
        host().loop().startSingleShot({this, kSettleTimerId}, wait, [this] { writeQueued(); });
    }
    return true;
}

bool MelodyHandset::writeNow(const Report& report)
{
    if (!writeCommand(report)) return false;
    if (report[1] == kRinger) settledAtMs_ = host().nowMs() + kRingerSettleMs;
    return true;
}

void MelodyHandset::writeQueued()
{
    while (!queued_.empty() && host().nowMs() >= settledAtMs_) {
        const Report report = queued_.front();
        queued_.pop_front();
        writeNow(report);
    }
    if (queued_.empty()) return;
    const auto wait = int(settledAtMs_ - host().nowMs());
    host().loop().startSingleShot({this, kSettleTimerId}, wait, [this] { writeQueued(); });
}

void MelodyHandset::dropQueued()
{
    queued_.clear();
    host().loop().stopTimer({this, kSettleTimerId});
}

int MelodyHandset::Ring(bool on)
{
    if (!on) return send({0x00, kRinger, kRingOff}) ? 1 : 0;
    melody_ = std::clamp(melody_, 0, kLastMelody);
    return send({0x00, kRinger, std::uint8_t(melody_ + 1)}) ? 1 : 0;
}

int MelodyHandset::SetVolume(int level)
{
    const auto step = std::clamp<std::int64_t>(std::int64_t(level) * kVolumeSteps / 100, 1, kVolumeSteps);
    return send({0x00, kRinger, std::uint8_t(kVolumeBase + step)}) ? 0 : -1;
}

int MelodyHandset::Light(bool on)
{
    return send({0x00, kLight, std::uint8_t(on ? 1 : 0)}) ? 1 : 0;
}

int MelodyHandset::Close()
{
    dropQueued();
    closeDevice();
    return 1;
}

}  // namespace tarnix
