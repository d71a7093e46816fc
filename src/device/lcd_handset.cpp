#include "device/lcd_handset.h"

#include <algorithm>

namespace tarnix {

const KeyMap LcdHandset::kKeys{{1, KeyNo},    {2, Key3},  {3, Key2},    {4, Key1},  {5, KeyDelete},
                               {7, KeyYes},   {8, Key6},  {9, Key5},    {10, Key4}, {11, KeyMute},
                               {13, KeyUp},   {14, Key9}, {15, Key8},   {16, Key7}, {19, KeyDown},
                               {20, KeyHash}, {21, Key0}, {22, KeyStar}};

int LcdHandset::Ring(bool on)
{
    return writeCommand({0x00, kControl, on ? kOn : std::uint8_t(0), kSelect}) ? 1 : 0;
}

int LcdHandset::Light(bool on)
{
    return writeCommand({0x00, kControl, kSelect, on ? kOn : std::uint8_t(0)}) ? 1 : 0;
}

int LcdHandset::Close()
{
    closeDevice();
    return 1;
}

bool LcdHandset::refreshDisplay()
{
    std::array<std::uint8_t, 2 + LcdImage::kCells> report{0x00, kDisplay};
    std::copy(image_.cells().begin(), image_.cells().end(), report.begin() + 2);
    return writeCommand(report);
}

int LcdHandset::LcdCommand(int, int op, std::uint8_t flag, int level, const char* text, std::uint8_t clock)
{
    const std::string_view shown = text ? std::string_view(text) : std::string_view();
    switch (op) {
        case LcdClear:
            image_.clear();
            break;
        case LcdIcon:
            image_.setIcon(flag != 0);
            break;
        case LcdBars:
            image_.setBars(level);
            break;
        case LcdNumber:
            image_.showNumber(shown);
            break;
        case LcdClock:
            image_.showClock(clock != 0, clock != 0 ? host().clock().localTime() : std::tm{});
            break;
        case LcdAllOn:
            image_.allOn();
            break;
        case LcdTime:
            image_.showTime(shown);
            break;
        default:
            return 0;
    }
    refreshDisplay();
    return 0;
}

bool LcdHandset::inRange(int address, std::size_t length) const
{
    return address >= 0 && std::size_t(address) + length < 256;
}

int LcdHandset::ReadMemory(int address, std::span<std::uint8_t> buffer)
{
    if (!inRange(address, buffer.size())) return fail(HandsetErrorInvalidParameter);
    for (std::size_t done = 0; done < buffer.size(); done += kBlockSize) {
        const auto blockAddress = std::uint8_t(address + 1 + int(done));
        if (!writeCommand({0x00, kMemory, kReadBlock, blockAddress, 0x00})) return -1;
        host().clock().pause(kBlockDelayMs);
        const std::span<const std::uint8_t> reply = awaitReport(kMemoryReply);
        const bool complete = reply.size() >= 2 + kBlockSize;
        if (complete) {
            const std::size_t take = std::min<std::size_t>(kBlockSize, buffer.size() - done);
            std::copy_n(reply.begin() + 2, take, buffer.begin() + std::ptrdiff_t(done));
        }
        writeCommand({0x00, kMemory, kEndRead});
        if (!complete) return -1;
    }
    return 0;
}

int LcdHandset::WriteMemory(int address, std::span<const std::uint8_t> buffer)
{
    if (!inRange(address, buffer.size())) return fail(HandsetErrorInvalidParameter);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const auto at = std::uint8_t(address + 1 + int(i));
        if (!writeCommand({0x00, kMemory, kWriteByte, at, at, buffer[i]})) return -1;
    }
    return 0;
}

}  // namespace tarnix
