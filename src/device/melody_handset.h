#pragma once

#include "device/handset_properties.h"
#include "device/hid_handset.h"

#include <array>
#include <deque>

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
    ~MelodyHandset() override;

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
    // A report that follows sooner is queued and written from the loop once the time is up, in
    // order; the caller is told it was written (it will be unless the handset goes meanwhile).
    static constexpr int kRingerSettleMs = 100;
    static constexpr int kSettleTimerId = 1;
    using Report = std::array<std::uint8_t, 3>;

    bool send(const Report& report);
    bool writeNow(const Report& report);
    void writeQueued();
    void dropQueued();

    int melody_ = 0;
    std::int64_t settledAtMs_ = 0;
    std::deque<Report> queued_;
};

}  // namespace tarnix
