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

bool MelodyHandset::writeSettled(std::initializer_list<std::uint8_t> report)
{
    const std::int64_t wait = settledAtMs_ - host().nowMs();
    if (wait > 0) host().clock().pause(int(wait));
    return writeCommand(report);
}

bool MelodyHandset::writeRinger(std::uint8_t value)
{
    if (!writeSettled({0x00, kRinger, value})) return false;
    settledAtMs_ = host().nowMs() + kRingerSettleMs;
    return true;
}

int MelodyHandset::Ring(bool on)
{
    if (!on) return writeRinger(kRingOff) ? 1 : 0;
    melody_ = std::clamp(melody_, 0, kLastMelody);
    return writeRinger(std::uint8_t(melody_ + 1)) ? 1 : 0;
}

int MelodyHandset::SetVolume(int level)
{
    const auto step = std::clamp<std::int64_t>(std::int64_t(level) * kVolumeSteps / 100, 1, kVolumeSteps);
    return writeRinger(std::uint8_t(kVolumeBase + step)) ? 0 : -1;
}

int MelodyHandset::Light(bool on)
{
    return writeSettled({0x00, kLight, std::uint8_t(on ? 1 : 0)}) ? 1 : 0;
}

int MelodyHandset::Close()
{
    closeDevice();
    return 1;
}

}  // namespace tarnix
