#pragma once

#include "messenger/window_system.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace tarnix {

// Finds Skype's main window, the pop-up it owns and its entry box among the windows of the
// messenger's process, and works on them. Every operation does nothing when the window it needs
// is not there.
class SkypeWindows {
public:
    static constexpr std::string_view MainFormClass = "tSkMainForm.UnicodeClass";
    static constexpr std::string_view LoginControlClass = "TLoginControl";
    static constexpr std::string_view EntryBoxClass = "Edit";
    static constexpr std::string_view MainFormTitle = "Skype";
    // Class names and titles are compared within this many UTF-16 units.
    static constexpr std::size_t TextAreaChars = 99;

    // messengerPid answers the process of the attached messenger, 0 while none is attached.
    SkypeWindows(WindowSystem& windows, std::function<std::int64_t()> messengerPid);

    // Cached while it exists and is still the messenger's.
    WindowId findMainWindow();
    // A shown top-level window of the messenger that belongs to another window; 0 when none or
    // while no main window was found.
    WindowId findPopup();
    WindowId findEntryBox();
    void clearEntryBox();
    void backspaceEntryBox();
    void tabFromEntryBox();
    void closeWindow(WindowId window);
    // Shown and not minimised.
    bool isOnScreen(WindowId window);

    WindowId mainWindow() const { return mainWindow_; }
    // Every successful attach may be to another messenger: search again.
    void forgetMainWindow() { mainWindow_ = 0; }

private:
    WindowId searchMainWindow(std::int64_t pid);
    std::string className(WindowId window);

    WindowSystem& windows_;
    std::function<std::int64_t()> messengerPid_;
    WindowId mainWindow_ = 0;
};

}  // namespace tarnix
