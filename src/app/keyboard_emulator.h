#pragma once

#include <cstdint>

namespace tarnix {

class KeyInjector;

// Turns handset events into key presses for the focused window while no messenger is attached:
// digits dial, the green key or lifting the handset accepts (Enter), the red key or putting it
// down cancels (Escape).
class KeyboardEmulator {
public:
    // Each press holds the key down this long.
    static constexpr int PressMs = 10;

    // hookState is the phone controller's: -1 not yet known, 1 on the cradle, 0 lifted. The
    // messenger key mappings read and write it too, so it is shared, not copied.
    KeyboardEmulator(KeyInjector& keys, std::int32_t& hookState);

    void EmulateKey(int code);

private:
    void press(int virtualKey);
    void pressShifted(int virtualKey);

    KeyInjector& keys_;
    std::int32_t& hookState_;
};

}  // namespace tarnix
