#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string_view>

namespace tarnix {

// The segment image of the LCD handset: 32 cells, of which 16-31 drive the display. Cell 16
// holds the call icon (bit 0) and the link indicator (bit 4); cells 17-31 are the fifteen digit
// cells, each with one extra segment (weekday marker, colon or link bar).
class LcdImage {
public:
    static constexpr int kCells = 32;
    static constexpr int kStatusCell = 16;
    static constexpr int kDigitCells = 15;
    static constexpr std::uint8_t kIconBit = 0x01;
    static constexpr std::uint8_t kIndicatorBit = 0x10;
    // The extra segment of cells 22-31 (bar, colon, weekday marker).
    static constexpr std::uint8_t kExtraBit = 0x10;
    // Cells 17-21 carry their weekday marker in bit 0 because their glyphs are nibble-swapped.
    static constexpr std::uint8_t kLowCellMarkerBit = 0x01;
    // A number is laid out from its last character backwards through the cells in this order.
    static constexpr std::array<int, kDigitCells> kNumberOrder{22, 23, 24, 25, 26, 27, 28, 29,
                                                               30, 31, 21, 20, 19, 18, 17};

    static std::uint8_t glyph(char c);

    void clear();
    void allOn();
    void setIcon(bool on);
    void setBars(int level);
    void showNumber(std::string_view text);
    // Clears the digits; with show, the month, day, time of day and weekday of local.
    void showClock(bool show, const std::tm& local);
    // An eight-character time text "hh?mm?ss".
    void showTime(std::string_view text);

    const std::array<std::uint8_t, kCells>& cells() const { return cells_; }

private:
    void clearDigits();
    void putChar(int cell, char c);
    void putTwoDigits(int tensCell, int unitsCell, int value);
    void setMarker(int cell);

    std::array<std::uint8_t, kCells> cells_{};
};

}  // namespace tarnix
