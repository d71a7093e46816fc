#pragma once

namespace tarnix {

// The program's main window, as far as the answering machine raises it.
class FrontWindow {
public:
    virtual ~FrontWindow() = default;
    // Shows the window and makes it the foreground window.
    virtual void BringToFront() = 0;
};

}  // namespace tarnix
