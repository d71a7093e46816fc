#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarnix::sim {

// What a person reads off the LCD handset's display, decoded from its 32-byte segment image.
struct LcdReading {
    bool callIcon = false;
    bool linkIndicator = false;
    int linkBars = 0;  // 0-6
    // The fifteen digit cells left to right; a blank cell reads as a space, a pattern that is no
    // known glyph as '?'.
    std::string digits;
    bool colon = false;        // the clock's separator (cell 24)
    bool secondColon = false;  // the second separator a time text lights (cell 25)
    int weekday = -1;          // 0 Sunday ... 6 Saturday; -1 none lit
    bool allOn = false;

    // digits without the blanks at either end.
    std::string text() const;
    // The digits as the glass shows them, the lit separators in their places ("12-08 10:30"),
    // without the blanks at either end.
    std::string shown() const;

    static LcdReading decode(const std::array<std::uint8_t, 32>& cells);
};

}  // namespace tarnix::sim
