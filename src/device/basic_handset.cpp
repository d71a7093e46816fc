#include "device/basic_handset.h"

namespace tarnix {

const KeyMap BasicHandset::kKeys{{1, KeyDown}, {2, KeyUp},      {3, KeyYes},   {4, KeyNo},    {5, Key0},
                                 {6, Key8},    {7, KeyHash},    {8, Key9},     {9, KeyStar},  {10, Key7},
                                 {11, Key5},   {12, Key6},      {13, Key4},    {14, Key1},    {15, Key2},
                                 {16, Key3},   {19, KeyDelete}, {20, KeyMute}, {0x20, KeyNo}, {0x21, KeyYes}};

std::uint8_t BasicHandset::withBit0(bool on) const
{
    const std::uint8_t previous = outputByte(2);
    return on ? std::uint8_t(previous | 1) : std::uint8_t(previous & ~1);
}

int BasicHandset::Ring(bool on)
{
    return writeCommand({0x00, kRing, withBit0(on)}) ? 1 : 0;
}

int BasicHandset::Light(bool on)
{
    return writeCommand({0x00, kLight, on ? withBit0(true) : std::uint8_t(0)}) ? 1 : 0;
}

int BasicHandset::AfterOpen()
{
    writeCommand({0x00, kPower, withBit0(true)});
    writeCommand({0x00, kLight, 0x00});
    return 1;
}

int BasicHandset::Close()
{
    writeCommand({0x00, kPower, 0x00});
    writeCommand({0x00, kLight, 0x00});
    closeDevice();
    return 1;
}

bool BasicHandset::inRange(int address, std::size_t length) const
{
    return address >= 0 && std::size_t(address) + length <= std::size_t(kProperties[PropMemorySize]);
}

std::optional<std::uint16_t> BasicHandset::readWord(int wordAddress)
{
    if (!writeCommand({0x00, kReadWord, std::uint8_t(wordAddress)})) return std::nullopt;
    host().clock().pause(kReplyDelayMs);
    std::optional<std::uint16_t> word;
    for (int attempt = 0; attempt < 3 && !word; ++attempt) {
        const std::span<const std::uint8_t> reply = awaitReport(kMemoryReply);
        if (reply.size() >= 4) word = std::uint16_t(reply[2] | reply[3] << 8);
    }
    writeCommand({0x00, kEndRead});
    return word;
}

bool BasicHandset::writeWord(int wordAddress, std::uint16_t value)
{
    return writeCommand(
        {0x00, kWriteWord, std::uint8_t(wordAddress), std::uint8_t(value & 0xFF), std::uint8_t(value >> 8)});
}

int BasicHandset::ReadMemory(int address, std::span<std::uint8_t> buffer)
{
    if (!inRange(address, buffer.size())) return fail(HandsetErrorInvalidParameter);
    std::size_t i = 0;
    while (i < buffer.size()) {
        const int byteAddress = address + int(i);
        const std::optional<std::uint16_t> word = readWord(byteAddress / 2);
        if (!word) return -1;
        if (byteAddress % 2 == 0) {
            buffer[i++] = std::uint8_t(*word & 0xFF);
            if (i == buffer.size()) break;
        }
        buffer[i++] = std::uint8_t(*word >> 8);
    }
    return 0;
}

int BasicHandset::WriteMemory(int address, std::span<const std::uint8_t> buffer)
{
    if (!inRange(address, buffer.size())) return fail(HandsetErrorInvalidParameter);
    std::size_t i = 0;
    while (i < buffer.size()) {
        const int byteAddress = address + int(i);
        const int wordAddress = byteAddress / 2;
        const bool whole = byteAddress % 2 == 0 && i + 1 < buffer.size();
        std::uint16_t value = 0;
        if (whole) {
            value = std::uint16_t(buffer[i] | buffer[i + 1] << 8);
            i += 2;
        } else {
            // A word only half covered by the range keeps its other byte.
            const std::optional<std::uint16_t> old = readWord(wordAddress);
            if (!old) return -1;
            value = byteAddress % 2 == 0 ? std::uint16_t((*old & 0xFF00) | buffer[i])
                                         : std::uint16_t((*old & 0x00FF) | buffer[i] << 8);
            ++i;
        }
        if (!writeWord(wordAddress, value)) return -1;
    }
    return 0;
}

}  // namespace tarnix
