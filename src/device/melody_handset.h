#pragma once

#include "device/handset_properties.h"
#include "device/hid_handset.h"

namespace tarnix {

// Model 4: keypad, hook, light, twelve ring melodies and a ringer volume.
class MelodyHandset final : public HidHandset {
public:
    static constexpr int kModel = 4;
    static constexpr HandsetProperties kProperties{{.vendorId = 0x04B4,
                                                    .productId = 0x0304,
                                                    .volume = 1,
                                                    .memorySize = 255,
                                                    .lcd = 0,
                                                    .melodyFixed = 1,
                                                    .lineSwitch = 0,
                                                    .light = 0,
                                                    .ringSettings = 1}};
    static const KeyMap kKeys;
    static constexpr std::uint8_t kRinger = 1;
    static constexpr std::uint8_t kLight = 4;
    static constexpr std::uint8_t kRingOff = 0x30;
    // Melodies 0-11 ring as 0x01-0x0C; volume steps 1-16 as 0x20-0x2F.
    static constexpr int kLastMelody = 11;
    static constexpr std::uint8_t kVolumeBase = 0x1F;
    static constexpr int kVolumeSteps = 16;

    explicit MelodyHandset(HandsetHost& host) : HidHandset(host, kKeys, CradleByte::Zero) {}

    int ModelType() const override { return kModel; }
    int SelectMelody(int melody) override;
    int SetVolume(int level) override;
    int Property(int index) const override { return kProperties[index]; }
    int ReadMemory(int, std::span<std::uint8_t>) override { return 0; }
    int WriteMemory(int, std::span<const std::uint8_t>) override { return 0; }
    int Ring(bool on) override;
    int Light(bool on) override;
    int Close() override;
    int AfterOpen() override { return 1; }

private:
    // The ringer takes this long to act on a command before the handset accepts the next report.
    // Only a report that follows sooner waits for the rest of it, so ringing alone never holds
    // up the caller.
    static constexpr int kRingerSettleMs = 100;

    bool writeRinger(std::uint8_t value);
    bool writeSettled(std::initializer_list<std::uint8_t> report);

    int melody_ = 0;
    std::int64_t settledAtMs_ = 0;
};

}  // namespace tarnix
