#pragma once

#include "lcd_reading.h"
#include "virtual_handset.h"

#include <array>

namespace tarnix::sim {

// The basic handset: keypad, hook switch (byte 3 non-zero on the cradle), light and ringer on
// bit 0 of their reports, and 128 bytes of memory in 16-bit words.
class VirtualBasicHandset final : public VirtualHandset {
public:
    explicit VirtualBasicHandset(Lengths lengths = {9, 9}) : VirtualHandset(lengths) {}
    int model() const override { return 1; }
    std::uint16_t vendorId() const override { return 0x04B4; }
    std::uint16_t productId() const override { return 0x6371; }

protected:
    std::uint8_t keyByte(int handsetKey) const override;
    std::uint8_t hookByte(bool onCradle) const override { return onCradle ? 1 : 0; }
    void decode(std::span<const std::uint8_t> report) override;
};

// The handset with the segment LCD; byte 3 of a key report is 0 on the cradle.
class VirtualLcdHandset final : public VirtualHandset {
public:
    explicit VirtualLcdHandset(Lengths lengths = {33, 34}) : VirtualHandset(lengths) {}
    int model() const override { return 2; }
    std::uint16_t vendorId() const override { return 0x04B4; }
    std::uint16_t productId() const override { return 0x0302; }

    const std::array<std::uint8_t, 32>& cells() const { return cells_; }
    LcdReading lcd() const { return LcdReading::decode(cells_); }
    std::string describe() const override;

protected:
    std::uint8_t keyByte(int handsetKey) const override;
    std::uint8_t hookByte(bool onCradle) const override { return onCradle ? 0 : 1; }
    void decode(std::span<const std::uint8_t> report) override;

private:
    std::array<std::uint8_t, 32> cells_{};
};

// The handset with twelve melodies and a 16-step ringer volume; byte 3 is 0 on the cradle.
class VirtualMelodyHandset final : public VirtualHandset {
public:
    explicit VirtualMelodyHandset(Lengths lengths = {9, 9}) : VirtualHandset(lengths) {}
    int model() const override { return 4; }
    std::uint16_t vendorId() const override { return 0x04B4; }
    std::uint16_t productId() const override { return 0x0304; }

    // 0-11, -1 before the first ring.
    int melody() const { return melody_; }
    // 1-16, -1 before the first setting.
    int ringerVolume() const { return volume_; }
    std::string describe() const override;

protected:
    std::uint8_t keyByte(int handsetKey) const override;
    std::uint8_t hookByte(bool onCradle) const override { return onCradle ? 0 : 1; }
    void decode(std::span<const std::uint8_t> report) override;

private:
    int melody_ = -1;
    int volume_ = -1;
};

}  // namespace tarnix::sim
