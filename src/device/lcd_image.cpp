#include "device/lcd_image.h"

namespace tarnix {

namespace {

constexpr int kFirstDigitCell = 17;
constexpr int kFirstPlainCell = 22;  // cells 22-31 take glyphs unswapped
constexpr int kFirstBarCell = 26;
constexpr int kLastCell = 31;
constexpr int kColonCell = 24;

std::uint8_t swapNibbles(std::uint8_t b)
{
    return std::uint8_t(b << 4 | b >> 4);
}

}  // namespace

std::uint8_t LcdImage::glyph(char c)
{
    static constexpr std::array<std::uint8_t, 10> kDigits{0xEB, 0x60, 0xC7, 0xE5, 0x6C,
                                                          0xAD, 0xAF, 0xE8, 0xEF, 0xED};
    if (c >= '0' && c <= '9') return kDigits[std::size_t(c - '0')];
    switch (c) {
        case '#':
            return 0x23;
        case '*':
        case '+':
            return 0x26;
        case '-':
            return 0x04;
        default:
            return std::uint8_t(c);
    }
}

void LcdImage::clear()
{
    for (int cell = kStatusCell; cell <= kLastCell; ++cell) cells_[std::size_t(cell)] = 0;
}

void LcdImage::allOn()
{
    for (int cell = kStatusCell; cell <= kLastCell; ++cell) cells_[std::size_t(cell)] = 0xFF;
}

void LcdImage::setIcon(bool on)
{
    std::uint8_t& status = cells_[kStatusCell];
    status = std::uint8_t((status & kIndicatorBit) | (on ? kIconBit : 0));
}

void LcdImage::setBars(int level)
{
    // Cell 31 is the first bar, lit from level 2; cell 26 the last, lit from level 7.
    for (int cell = kFirstBarCell; cell <= kLastCell; ++cell) {
        const bool lit = level > kLastCell + 1 - cell;
        std::uint8_t& c = cells_[std::size_t(cell)];
        c = std::uint8_t(lit ? (c | kExtraBit) : (c & ~kExtraBit));
    }
    std::uint8_t& status = cells_[kStatusCell];
    status = std::uint8_t((status & kIconBit) | (level != 0 ? kIndicatorBit : 0));
}

void LcdImage::clearDigits()
{
    for (int cell = kFirstDigitCell; cell < kFirstBarCell; ++cell) cells_[std::size_t(cell)] = 0;
    for (int cell = kFirstBarCell; cell <= kLastCell; ++cell) cells_[std::size_t(cell)] &= kExtraBit;
}

void LcdImage::putChar(int cell, char c)
{
    std::uint8_t& target = cells_[std::size_t(cell)];
    if (cell < kFirstPlainCell) {
        target = swapNibbles(glyph(c));
    } else {
        target = std::uint8_t(glyph(c) | (target & kExtraBit));
    }
}

void LcdImage::putTwoDigits(int tensCell, int unitsCell, int value)
{
    putChar(tensCell, char('0' + value / 10 % 10));
    putChar(unitsCell, char('0' + value % 10));
}

void LcdImage::setMarker(int cell)
{
    cells_[std::size_t(cell)] |= cell < kFirstPlainCell ? kLowCellMarkerBit : kExtraBit;
}

void LcdImage::showNumber(std::string_view text)
{
    clearDigits();
    for (std::size_t i = 0; i < kNumberOrder.size(); ++i) {
        const char c = i < text.size() ? text[text.size() - 1 - i] : '\0';
        putChar(kNumberOrder[i], c);
    }
}

void LcdImage::showClock(bool show, const std::tm& local)
{
    clearDigits();
    if (!show) return;
    putTwoDigits(17, 18, local.tm_mon + 1);
    putChar(19, '-');
    putTwoDigits(20, 21, local.tm_mday);
    cells_[kColonCell] = kExtraBit;
    putTwoDigits(25, 24, local.tm_hour);
    putTwoDigits(23, 22, local.tm_min);
    static constexpr std::array<int, 7> kWeekdayCell{23, 22, 17, 18, 19, 20, 21};  // Sunday first
    setMarker(kWeekdayCell[std::size_t(local.tm_wday % 7)]);
}

void LcdImage::showTime(std::string_view text)
{
    clearDigits();
    cells_[25] = kExtraBit;
    cells_[24] = kExtraBit;
    // A short text leaves its missing places blank instead of reading past its end.
    const auto at = [text](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    putChar(27, at(0));
    putChar(26, at(1));
    putChar(25, at(3));
    putChar(24, at(4));
    putChar(23, at(6));
    putChar(22, at(7));
}

}  // namespace tarnix
