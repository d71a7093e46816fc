#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnix {

// A window of the desktop by the number the window system gives it; 0 is no window.
using WindowId = std::uint64_t;

// Keys the messenger's entry box can be sent.
enum class EditKey {
    SelectAll,
    Backspace,
    Tab,
};

// The messenger's windows as the desktop shows them. Every query of a window that no longer
// exists answers as for nothing (empty, 0, false).
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The top-level windows of the process pid, in the window system's order. Under a window
    // manager these are the application's own windows, not the frames around them.
    virtual std::vector<WindowId> topLevelWindows(std::int64_t pid) = 0;
    // Every window inside window, depth first, parents before their children.
    virtual std::vector<WindowId> descendants(WindowId window) = 0;
    virtual std::string className(WindowId window) = 0;
    // UTF-8.
    virtual std::string title(WindowId window) = 0;
    // The window this one belongs to (a dialog's main window); 0 when none.
    virtual WindowId owner(WindowId window) = 0;
    virtual bool exists(WindowId window) = 0;
    // The process that made window; 0 when unknown or gone.
    virtual std::int64_t process(WindowId window) = 0;
    // Shown: a minimised window still counts as shown, a hidden one does not.
    virtual bool visible(WindowId window) = 0;
    virtual bool minimised(WindowId window) = 0;

    // Asks the window to close, as its close box would.
    virtual void close(WindowId window) = 0;
    virtual void focus(WindowId window) = 0;
    // Presses and releases key for window, wherever the keyboard focus is.
    virtual void sendKey(WindowId window, EditKey key) = 0;
};

}  // namespace tarnix
