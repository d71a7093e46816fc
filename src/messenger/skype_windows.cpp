#include "messenger/skype_windows.h"

#include "messenger/messenger_windows_log.h"

#include <string>
#include <utility>

namespace tarnix {
namespace {

// The longest prefix of a UTF-8 text that takes at most `units` UTF-16 units: what a window text
// area of that size holds.
std::string_view clipToUtf16Units(std::string_view text, std::size_t units)
{
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t width = length == 4 ? 2 : 1;
        if (used + width > units || i + length > text.size()) {
            break;
        }
        used += width;
        i += length;
    }
    return text.substr(0, i);
}

}  // namespace

SkypeWindows::SkypeWindows(WindowSystem& windows, std::function<std::int64_t()> messengerPid)
    : windows_(windows), messengerPid_(std::move(messengerPid))
{
}

std::string SkypeWindows::className(WindowId window)
{
    return std::string(clipToUtf16Units(windows_.className(window), TextAreaChars));
}

WindowId SkypeWindows::findMainWindow()
{
    const std::int64_t pid = messengerPid_();
    // Window numbers are used again once their program has gone: a cached number that now
    // names another program's window must not be closed or typed into.
    if (mainWindow_ != 0 && windows_.exists(mainWindow_) && windows_.process(mainWindow_) == pid) {
        return mainWindow_;
    }
    mainWindow_ = 0;
    if (pid == 0) {
        return 0;
    }
    mainWindow_ = searchMainWindow(pid);
    if (mainWindow_ != 0) {
        qCDebug(lcMessengerWindows, "messenger main window 0x%llx",
                static_cast<unsigned long long>(mainWindow_));
    }
    return mainWindow_;
}

// The login form, while it shows, is the main window; otherwise the last main form whose title
// names the messenger.
WindowId SkypeWindows::searchMainWindow(std::int64_t pid)
{
    WindowId mainForm = 0;
    for (const WindowId window : windows_.topLevelWindows(pid)) {
        for (const WindowId inner : windows_.descendants(window)) {
            if (className(inner) == LoginControlClass) {
                return window;
            }
        }
        if (className(window) == MainFormClass &&
            clipToUtf16Units(windows_.title(window), TextAreaChars).find(MainFormTitle) !=
                std::string_view::npos) {
            mainForm = window;
        }
    }
    return mainForm;
}

WindowId SkypeWindows::findPopup()
{
    const std::int64_t pid = messengerPid_();
    if (pid == 0 || mainWindow_ == 0) {
        return 0;
    }
    for (const WindowId window : windows_.topLevelWindows(pid)) {
        const WindowId owner = windows_.owner(window);
        // A pop-up is hidden with its minimised owner, whatever a window manager makes of it.
        if (owner != 0 && windows_.visible(window) && !windows_.minimised(owner)) {
            return window;
        }
    }
    return 0;
}

WindowId SkypeWindows::findEntryBox()
{
    const WindowId main = findMainWindow();
    if (main == 0) {
        return 0;
    }
    for (const WindowId inner : windows_.descendants(main)) {
        if (className(inner) == EntryBoxClass) {
            return inner;
        }
    }
    return 0;
}

// The window system has no "set text" for another program's window: select everything the box
// holds and delete it, as the user would.
void SkypeWindows::clearEntryBox()
{
    if (const WindowId entry = findEntryBox()) {
        windows_.sendKey(entry, EditKey::SelectAll);
        windows_.sendKey(entry, EditKey::Backspace);
    }
}

void SkypeWindows::backspaceEntryBox()
{
    if (const WindowId entry = findEntryBox()) {
        windows_.sendKey(entry, EditKey::Backspace);
    }
}

void SkypeWindows::tabFromEntryBox()
{
    if (const WindowId entry = findEntryBox()) {
        windows_.focus(entry);
        windows_.sendKey(entry, EditKey::Tab);
    }
}

void SkypeWindows::closeWindow(WindowId window)
{
    if (window != 0) {
        windows_.close(window);
    }
}

bool SkypeWindows::isOnScreen(WindowId window)
{
    return window != 0 && windows_.visible(window) && !windows_.minimised(window);
}

}  // namespace tarnix
