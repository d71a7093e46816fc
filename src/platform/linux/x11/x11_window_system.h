#pragma once

#include "messenger/window_system.h"

#include <memory>

// Xlib's own name for a display connection; declared here so Xlib's macros stay out of users.
struct _XDisplay;  // NOLINT(bugprone-reserved-identifier)

namespace tarnix {

// The messenger's windows on the X display, on a connection of its own. A window belongs to a
// process by its _NET_WM_PID or, for windows that do not carry one, by the X-Resource
// extension's record of the client that made it. Works with no window manager (top-level
// windows are the root's children) and under a reparenting one (the application's window is the
// one below each frame that carries WM_STATE). Without a display there are no windows.
class X11WindowSystem final : public WindowSystem {
public:
    // displayName as XOpenDisplay takes it; nullptr means $DISPLAY.
    explicit X11WindowSystem(const char* displayName = nullptr);
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem&) = delete;
    X11WindowSystem& operator=(const X11WindowSystem&) = delete;

    bool available() const { return display_ != nullptr; }

    std::vector<WindowId> topLevelWindows(std::int64_t pid) override;
    std::vector<WindowId> descendants(WindowId window) override;
    std::string className(WindowId window) override;
    std::string title(WindowId window) override;
    WindowId owner(WindowId window) override;
    bool exists(WindowId window) override;
    std::int64_t process(WindowId window) override;
    bool visible(WindowId window) override;
    bool minimised(WindowId window) override;
    void close(WindowId window) override;
    void focus(WindowId window) override;
    void sendKey(WindowId window, EditKey key) override;

private:
    struct CloseDisplay {
        void operator()(_XDisplay* display) const;
    };

    std::vector<unsigned long> children(unsigned long window);
    unsigned long clientWindow(unsigned long frame);
    long wmState(unsigned long window);
    std::int64_t processOf(unsigned long window);
    void sendKeyEvent(unsigned long window, int type, unsigned keycode, unsigned state);

    std::unique_ptr<_XDisplay, CloseDisplay> display_;
    bool hasXRes_ = false;
    unsigned long wmStateAtom_ = 0;
    unsigned long netWmPidAtom_ = 0;
    unsigned long netWmNameAtom_ = 0;
    unsigned long utf8StringAtom_ = 0;
    unsigned long wmProtocolsAtom_ = 0;
    unsigned long wmDeleteWindowAtom_ = 0;
};

}  // namespace tarnix
