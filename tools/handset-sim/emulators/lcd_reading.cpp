#include "lcd_reading.h"

#include <algorithm>

namespace tarnix::sim {

namespace {

// The display's own segment patterns, as the handset's manual draws them.
struct Glyph {
    std::uint8_t pattern;
    char c;
};
constexpr std::array<Glyph, 14> kGlyphs{{{0xEB, '0'},
                                         {0x60, '1'},
                                         {0xC7, '2'},
                                         {0xE5, '3'},
                                         {0x6C, '4'},
                                         {0xAD, '5'},
                                         {0xAF, '6'},
                                         {0xE8, '7'},
                                         {0xEF, '8'},
                                         {0xED, '9'},
                                         {0x23, '#'},
                                         {0x26, '*'},
                                         {0x04, '-'},
                                         {0x00, ' '}}};

// Left to right on the glass.
constexpr std::array<int, 15> kDisplayOrder{17, 18, 19, 20, 21, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22};
constexpr std::array<int, 7> kWeekdayCell{23, 22, 17, 18, 19, 20, 21};

// Where the separators sit among the digits in display order: the second one before cell 25's
// digit, the clock's colon after cell 24's.
constexpr std::size_t kSecondColonBefore = 11;
constexpr std::size_t kColonBefore = 13;

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool isSwapped(int cell)
{
    return cell < 22;
}

char readCell(std::uint8_t raw, int cell)
{
    const std::uint8_t pattern =
        isSwapped(cell) ? std::uint8_t((raw << 4 | raw >> 4) & ~0x10) : std::uint8_t(raw & ~0x10);
    for (const Glyph& g : kGlyphs) {
        if (g.pattern == pattern) return g.c;
    }
    return '?';
}

bool markerLit(const std::array<std::uint8_t, 32>& cells, int cell)
{
    return (cells[std::size_t(cell)] & (isSwapped(cell) ? 0x01 : 0x10)) != 0;
}

}  // namespace

std::string LcdReading::text() const
{
    return trimmed(digits);
}

std::string LcdReading::shown() const
{
    std::string glass;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if ((i == kSecondColonBefore && secondColon) || (i == kColonBefore && colon)) glass += ':';
        glass += digits[i];
    }
    return trimmed(glass);
}

LcdReading LcdReading::decode(const std::array<std::uint8_t, 32>& cells)
{
    LcdReading r;
    r.allOn = std::all_of(cells.begin() + 16, cells.end(), [](std::uint8_t c) { return c == 0xFF; });
    r.callIcon = (cells[16] & 0x01) != 0;
    r.linkIndicator = (cells[16] & 0x10) != 0;
    for (int cell = 26; cell <= 31; ++cell) r.linkBars += markerLit(cells, cell) ? 1 : 0;
    r.colon = markerLit(cells, 24);
    r.secondColon = markerLit(cells, 25);
    for (int day = 0; day < 7; ++day) {
        if (markerLit(cells, kWeekdayCell[std::size_t(day)])) r.weekday = day;
    }
    for (int cell : kDisplayOrder) r.digits += readCell(cells[std::size_t(cell)], cell);
    return r;
}

}  // namespace tarnix::sim
