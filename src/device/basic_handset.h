#pragma once

#include "device/handset_properties.h"
#include "device/hid_handset.h"

#include <optional>

namespace tarnix {

// Model 1: keypad, hook and light; a 128-byte memory read and written in 16-bit words.
class BasicHandset final : public HidHandset {
public:
    static constexpr int kModel = 1;
    static constexpr HandsetProperties kProperties{{.vendorId = 0x04B4,
                                                    .productId = 0x6371,
                                                    .volume = 0,
                                                    .memorySize = 128,
                                                    .lcd = 0,
                                                    .melodyFixed = 1,
                                                    .lineSwitch = 0,
                                                    .light = 1,
                                                    .ringSettings = 0}};
    static const KeyMap kKeys;

    explicit BasicHandset(HandsetHost& host) : HidHandset(host, kKeys, CradleByte::NonZero) {}

    int ModelType() const override { return kModel; }
    int Property(int index) const override { return kProperties[index]; }
    int ReadMemory(int address, std::span<std::uint8_t> buffer) override;
    int WriteMemory(int address, std::span<const std::uint8_t> buffer) override;
    int Ring(bool on) override;
    int Light(bool on) override;
    int Close() override;
    int AfterOpen() override;

private:
    // Report types in byte 1 of the output report.
    static constexpr std::uint8_t kRing = 1;
    static constexpr std::uint8_t kLight = 2;
    static constexpr std::uint8_t kReadWord = 2;
    static constexpr std::uint8_t kEndRead = 3;
    static constexpr std::uint8_t kPower = 4;
    static constexpr std::uint8_t kWriteWord = 4;
    // The firmware needs this long to fetch a word before it can answer.
    static constexpr int kReplyDelayMs = 100;

    bool inRange(int address, std::size_t length) const;
    std::optional<std::uint16_t> readWord(int wordAddress);
    bool writeWord(int wordAddress, std::uint16_t value);
    // Sets or clears bit 0 of what the last command left in byte 2.
    std::uint8_t withBit0(bool on) const;
};

}  // namespace tarnix
