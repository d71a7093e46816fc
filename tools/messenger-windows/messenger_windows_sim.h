#pragma once

#include <functional>
#include <memory>
#include <string>

// Xlib's own name for a display connection; declared here so Xlib's macros stay out of users.
struct _XDisplay;  // NOLINT(bugprone-reserved-identifier)

namespace tarnix {

// Shows windows on an X display as the messenger does: main forms (optionally with a login
// control and an entry box inside), pop-ups they own. Main forms carry _NET_WM_PID and a UTF-8
// _NET_WM_NAME; pop-ups are plain Xlib windows, with neither (their title is a Latin-1 WM_NAME). The entry
// box keeps a text and edits it with the keys it receives: Ctrl+A selects everything, BackSpace deletes the
// selection or the last character, any other character is typed. What happens is reported as lines:
//   "text <entry box text>"   after every change of the entry box's text
//   "tab"                     Tab pressed in the entry box
//   "focus"                   the entry box received the input focus
//   "closed 0x<window>"       a window was asked to close (it is then destroyed)
class MessengerWindowsSim {
public:
    using Report = std::function<void(const std::string& line)>;

    // displayName as XOpenDisplay takes it; nullptr means $DISPLAY.
    MessengerWindowsSim(const char* displayName, Report report);
    ~MessengerWindowsSim();
    MessengerWindowsSim(const MessengerWindowsSim&) = delete;
    MessengerWindowsSim& operator=(const MessengerWindowsSim&) = delete;

    bool available() const { return display_ != nullptr; }
    // Readable when processEvents has work.
    int connectionFd() const;

    // Returns the new window; the last entry box made is the one that edits.
    unsigned long showMainForm(const std::string& title, bool loginControl, bool entryBox);
    unsigned long showPopup(unsigned long owner, const std::string& title);
    void setEntryText(const std::string& text);
    // Gives the entry box the input focus, as a click into it would.
    void focusEntryBox();
    void iconify(unsigned long window);
    void hide(unsigned long window);
    void destroy(unsigned long window);
    // Waits until the display has done everything asked so far.
    void sync();
    void processEvents();

private:
    struct CloseDisplay {
        void operator()(_XDisplay* display) const;
    };

    unsigned long makeTopLevel(const std::string& className);
    unsigned long makeChild(unsigned long parent, const std::string& className, int y);
    void onKey(void* keyEvent);

    std::unique_ptr<_XDisplay, CloseDisplay> display_;
    Report report_;
    unsigned long entryBox_ = 0;
    std::string entryText_;
    bool allSelected_ = false;
    unsigned long wmProtocols_ = 0;
    unsigned long wmDeleteWindow_ = 0;
};

}  // namespace tarnix
