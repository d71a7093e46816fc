#include "key_name.h"

#include "device/handset_codes.h"

namespace tarnix::test {

std::string keyName(int code)
{
    if (code >= Key0 && code <= Key9) return std::to_string(code);
    switch (code) {
        case KeyStar:
            return "Star";
        case KeyHash:
            return "Hash";
        case KeyNo:
            return "No";
        case KeyUp:
            return "Up";
        case KeyYes:
            return "Yes";
        case KeyDown:
            return "Down";
        case HookOn:
            return "HookOn";
        case HookOff:
            return "HookOff";
        case KeyMute:
            return "Mute";
        case KeyDelete:
            return "Delete";
        case KeyNone:
            return "None";
        default:
            return std::to_string(code);
    }
}

}  // namespace tarnix::test
