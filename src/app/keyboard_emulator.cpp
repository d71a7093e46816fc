#include "app/keyboard_emulator.h"

#include "app/key_injector.h"

namespace tarnix {
namespace {

// The handset's event codes that have a key of their own.
constexpr int KeyStar = 20;
constexpr int KeyHash = 21;
constexpr int KeyNo = 30;
constexpr int KeyUp = 40;
constexpr int KeyYes = 50;
constexpr int KeyDown = 60;
constexpr int HookOn = 70;
constexpr int HookOff = 80;

constexpr int HookOnCradle = 1;
constexpr int HookLifted = 0;

}  // namespace

KeyboardEmulator::KeyboardEmulator(KeyInjector& keys, std::int32_t& hookState)
    : keys_(keys), hookState_(hookState)
{
}

void KeyboardEmulator::press(int virtualKey)
{
    keys_.keyDown(virtualKey);
    keys_.pause(PressMs);
    keys_.keyUp(virtualKey);
}

void KeyboardEmulator::pressShifted(int virtualKey)
{
    keys_.keyDown(VirtualKey::LeftShift);
    press(virtualKey);
    keys_.keyUp(VirtualKey::LeftShift);
}

void KeyboardEmulator::EmulateKey(int code)
{
    if (code >= 0 && code <= 9) {
        press(VirtualKey::Digit0 + code);
        return;
    }
    switch (code) {
        case KeyStar:
            pressShifted(VirtualKey::Digit0 + 8);
            break;
        case KeyHash:
            pressShifted(VirtualKey::Digit0 + 3);
            break;
        case KeyNo:
            press(VirtualKey::Escape);
            break;
        case KeyUp:
            press(VirtualKey::Up);
            break;
        case KeyYes:
            press(VirtualKey::Return);
            break;
        case KeyDown:
            press(VirtualKey::Down);
            break;
        // A repeated hook event (the hook state was already known) presses the key of its own code.
        case HookOn:
            if (hookState_ == HookOnCradle) {
                press(code);
            } else {
                hookState_ = HookOnCradle;
                press(VirtualKey::Escape);
            }
            break;
        case HookOff:
            if (hookState_ == HookLifted) {
                press(code);
            } else {
                hookState_ = HookLifted;
                press(VirtualKey::Return);
            }
            break;
        default:
            press(code);
            break;
    }
}

}  // namespace tarnix
