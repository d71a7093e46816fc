#include "recording_keys.h"

#include "app/keyboard_emulator.h"

#include <cstdio>

namespace tarnix::test {

std::string virtualKeyName(int virtualKey)
{
    using namespace VirtualKey;
    if (virtualKey >= Digit0 && virtualKey <= Digit0 + 9) return std::to_string(virtualKey - Digit0);
    if (virtualKey >= LetterA && virtualKey < LetterA + 26)
        return std::string(1, static_cast<char>(virtualKey));
    if (virtualKey >= Numpad0 && virtualKey <= Numpad0 + 9)
        return "Numpad" + std::to_string(virtualKey - Numpad0);
    switch (virtualKey) {
        case Return:
            return "Return";
        case Escape:
            return "Escape";
        case Up:
            return "Up";
        case Down:
            return "Down";
        case Decimal:
            return "Decimal";
        case LeftShift:
            return "LeftShift";
        default:
            break;
    }
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", virtualKey);
    return text;
}

Transcript keyPress(const std::string& name)
{
    return {"key down " + name, "pause " + std::to_string(KeyboardEmulator::PressMs), "key up " + name};
}

}  // namespace tarnix::test
