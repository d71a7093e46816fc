#pragma once

#include "device/handset_properties.h"
#include "device/hid_handset.h"
#include "device/lcd_image.h"

namespace tarnix {

// Model 2: keypad, hook, light, ringer and a segment LCD; a 255-byte memory in 16-byte blocks.
class LcdHandset final : public HidHandset {
public:
    static constexpr int kModel = 2;
    static constexpr HandsetProperties kProperties{{.vendorId = 0x04B4,
                                                    .productId = 0x0302,
                                                    .volume = 1,
                                                    .memorySize = 255,
                                                    .lcd = 1,
                                                    .melodyFixed = 1,
                                                    .lineSwitch = 0,
                                                    .light = 1,
                                                    .ringSettings = 0}};
    static const KeyMap kKeys;
    static constexpr std::uint8_t kControl = 1;
    static constexpr std::uint8_t kMemory = 2;
    static constexpr std::uint8_t kDisplay = 3;
    static constexpr std::uint8_t kOn = 0xFF;
    static constexpr std::uint8_t kSelect = 0x11;
    // Memory commands, byte 2 of a kMemory report.
    static constexpr std::uint8_t kWriteByte = 1;
    static constexpr std::uint8_t kReadBlock = 2;
    static constexpr std::uint8_t kEndRead = 3;
    static constexpr int kBlockSize = 16;

    explicit LcdHandset(HandsetHost& host) : HidHandset(host, kKeys, CradleByte::Zero) {}

    int ModelType() const override { return kModel; }
    int LcdCommand(int reserved, int op, std::uint8_t flag, int level, const char* text,
                   std::uint8_t clock) override;
    int Property(int index) const override { return kProperties[index]; }
    int ReadMemory(int address, std::span<std::uint8_t> buffer) override;
    int WriteMemory(int address, std::span<const std::uint8_t> buffer) override;
    int Ring(bool on) override;
    int Light(bool on) override;
    int Close() override;
    int AfterOpen() override { return 1; }

private:
    // The firmware needs this long to gather a block before it can answer.
    static constexpr int kBlockDelayMs = 300;

    bool inRange(int address, std::size_t length) const;
    bool refreshDisplay();

    LcdImage image_;
};

}  // namespace tarnix
