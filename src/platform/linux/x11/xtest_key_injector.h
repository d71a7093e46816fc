#pragma once

#include "app/key_injector.h"

#include <memory>

// Xlib's own name for a display connection; declared here so Xlib's macros stay out of users.
struct _XDisplay;  // NOLINT(bugprone-reserved-identifier)

namespace tarnix {

// Presses keys through the XTest extension on its own connection to the X display, so the window
// with the input focus receives them as typed. Without a display (or without XTest) it presses
// nothing.
class XTestKeyInjector final : public KeyInjector {
public:
    // displayName as XOpenDisplay takes it; nullptr means $DISPLAY.
    explicit XTestKeyInjector(const char* displayName = nullptr);
    ~XTestKeyInjector() override;
    XTestKeyInjector(const XTestKeyInjector&) = delete;
    XTestKeyInjector& operator=(const XTestKeyInjector&) = delete;

    bool available() const { return display_ != nullptr; }

    void keyDown(int virtualKey) override;
    void keyUp(int virtualKey) override;
    void pause(int ms) override;

private:
    struct CloseDisplay {
        void operator()(_XDisplay* display) const;
    };

    void send(int virtualKey, bool down);
    bool numLockLocked() const;
    void lockNumLock(bool locked);

    std::unique_ptr<_XDisplay, CloseDisplay> display_;
    unsigned long pendingDelayMs_ = 0;
    unsigned numLockMask_ = 0;
    bool restoreNumLock_ = false;
};

}  // namespace tarnix
