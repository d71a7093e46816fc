#pragma once

namespace tarnix {

// The keys the keyboard emulation presses, named by their Windows virtual-key codes: handset
// events map onto these numbers, and an unmapped event code is pressed as the key of that code.
namespace VirtualKey {
constexpr int Return = 0x0D;
constexpr int Escape = 0x1B;
constexpr int Up = 0x26;
constexpr int Down = 0x28;
constexpr int Digit0 = 0x30;   // 0x30-0x39: the digit keys of the main block
constexpr int LetterA = 0x41;  // 0x41-0x5A: the letter keys
constexpr int Numpad0 = 0x60;  // 0x60-0x69: the digits of the numeric pad
constexpr int Decimal = 0x6E;  // the decimal key of the numeric pad
constexpr int LeftShift = 0xA0;
}  // namespace VirtualKey

// Presses keys on the user's keyboard: whichever window has the focus receives them.
class KeyInjector {
public:
    virtual ~KeyInjector() = default;

    virtual void keyDown(int virtualKey) = 0;
    virtual void keyUp(int virtualKey) = 0;
    // The next key event reaches the focused window ms milliseconds later. An injector may let
    // the display server wait instead of blocking the caller.
    virtual void pause(int ms) = 0;
};

}  // namespace tarnix
