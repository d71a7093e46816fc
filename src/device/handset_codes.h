#pragma once

namespace tarnix {

// Events a handset delivers to OnHandsetKey. -1 (nothing known yet) and KeyNone are never
// delivered.
enum HandsetKey : int {
    Key0 = 0,
    Key1 = 1,
    Key2 = 2,
    Key3 = 3,
    Key4 = 4,
    Key5 = 5,
    Key6 = 6,
    Key7 = 7,
    Key8 = 8,
    Key9 = 9,
    KeyStar = 20,
    KeyHash = 21,
    KeyNo = 30,
    KeyUp = 40,
    KeyYes = 50,
    KeyDown = 60,
    HookOn = 70,
    HookOff = 80,
    KeyMute = 100,
    KeyDelete = 110,
    KeyNone = 255,
};

// Operations of the LCD command; only the LCD model carries them out.
enum HandsetLcdOp : int {
    LcdClear = 0,
    LcdIcon = 1,
    LcdBars = 2,
    LcdNumber = 3,
    LcdClock = 4,
    LcdAllOn = 5,
    LcdTime = 6,
};

// Capability queries; any other index answers -1.
enum HandsetPropertyIndex : int {
    PropVendorId = 1,
    PropProductId = 2,
    PropVolume = 3,
    PropMemorySize = 4,
    PropLcd = 5,
    PropMelodyFixed = 6,
    PropLineSwitch = 8,
    PropLight = 9,
    PropRingSettings = 10,
};

// Why the last handset operation failed; read and cleared by HandsetLastError().
enum HandsetError : int {
    HandsetErrorNone = 0,
    HandsetErrorInvalidParameter = 1,
    HandsetErrorUnsupported = 2,
    HandsetErrorBusy = 3,
};

}  // namespace tarnix
