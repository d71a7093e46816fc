#pragma once

#include "answering/front_window.h"

namespace tarnix {

// The main window as the messenger clients use it.
class MainWindowPort : public FrontWindow {
public:
    // Status bar: "Connected with Skype"/"Disconnected with Skype" and
    // "Skype is online"/"Skype is offline".
    virtual void ShowConnectionStatus(int connected, int online) = 0;
    // -1 steady, 0 off, 1 ringing blink, 2 muted blink.
    virtual void SetHandsetLightMode(int mode) = 0;
};

}  // namespace tarnix
