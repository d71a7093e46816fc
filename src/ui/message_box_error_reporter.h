#pragma once

#include "device/error_reporter.h"

namespace tarnix {

// Shows the handset layer's failures in a message box with an error icon, and logs them. Without
// a screen to show it on (or while a box of its own is open) the log alone carries the failure.
class MessageBoxErrorReporter final : public ErrorReporter {
public:
    void showError(std::string_view title, std::string_view text) override;

private:
    bool showing_ = false;
};

// Whether windows reach a user: false on the offscreen and minimal Qt platforms.
bool hasInteractiveScreen();

}  // namespace tarnix
