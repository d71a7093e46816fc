#include "app/keyboard_emulator.h"

#include "app/key_injector.h"
#include "device/handset_codes.h"

namespace tarnix {
namespace {

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
