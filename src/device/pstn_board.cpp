#include "device/pstn_board.h"

namespace tarnix {

int PstnBoard::decodeDtmf(std::uint8_t code)
{
    if (code == 0) return KeyNone;
    const int low = code & 0x0F;
    if (low >= 1 && low <= 9) return low;
    switch (low) {
        case 10:
            return Key0;
        case 11:
            return KeyStar;
        case 12:
            return KeyHash;
        default:
            return KeyNone;
    }
}

int PstnBoard::ReadMemory(int address, std::span<std::uint8_t> buffer)
{
    // The board's memory is addressed in words of two bytes; the length counts as a byte.
    const int words = std::uint8_t(buffer.size()) / 2;
    for (int i = 0; i < words; ++i) {
        const std::optional<std::uint16_t> word = library_.FupReadEEProm(std::uint8_t(address + 2 * i));
        if (!word) break;
        const std::size_t at = std::size_t(i) * 2;
        buffer[at] = std::uint8_t(*word & 0xFF);
        buffer[at + 1] = std::uint8_t(*word >> 8);
    }
    return 0;
}

int PstnBoard::WriteMemory(int address, std::span<const std::uint8_t> buffer)
{
    const int words = std::uint8_t(buffer.size()) / 2;
    for (int i = 0; i < words; ++i) {
        const std::size_t at = std::size_t(i) * 2;
        const auto word = std::uint16_t(buffer[at] | buffer[at + 1] << 8);
        library_.FupWriteEEProm(std::uint8_t(address + 2 * i), word);
    }
    return 0;
}

int PstnBoard::Ring(bool on)
{
    if (on) {
        library_.SlicRingPhone();
    } else {
        library_.SlicStopRing();
    }
    return 1;
}

int PstnBoard::Open()
{
    device_ = host().OpenHandsetInterface(*this);
    return device_ ? 1 : 0;
}

int PstnBoard::Close()
{
    library_.F3Close();
    device_.reset();
    return 1;
}

}  // namespace tarnix
