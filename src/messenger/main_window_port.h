#pragma once

#include "answering/front_window.h"

namespace tarnix {

// How the handset's light shows the call state.
enum HandsetLightMode : int {
    LightSteady = -1,
    LightOff = 0,
    LightRinging = 1,  // on and off every 500 ms
    LightMuted = 2,    // on 500 ms, off 1000 ms
};

// The main window as the messenger clients use it.
class MainWindowPort : public FrontWindow {
public:
    // Status bar: "Connected with Skype"/"Disconnected with Skype" and
    // "Skype is online"/"Skype is offline".
    virtual void ShowConnectionStatus(int connected, int online) = 0;
    // A HandsetLightMode.
    virtual void SetHandsetLightMode(int mode) = 0;
};

}  // namespace tarnix
