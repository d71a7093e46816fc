#include "messenger_windows_sim.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <cstdio>
#include <utility>

namespace tarnix {
namespace {

// WM_NAME of a plain Xlib window is Latin-1; characters beyond it become '?'.
std::string utf8ToLatin1(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && c <= 0xC3 && i + 1 < text.size()) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else if ((c & 0xC0) != 0x80) {
            out += '?';
        }
    }
    return out;
}

}  // namespace

void MessengerWindowsSim::CloseDisplay::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

MessengerWindowsSim::MessengerWindowsSim(const char* displayName, Report report)
    : display_(XOpenDisplay(displayName)), report_(std::move(report))
{
    if (display_) {
        wmProtocols_ = XInternAtom(display_.get(), "WM_PROTOCOLS", False);
        wmDeleteWindow_ = XInternAtom(display_.get(), "WM_DELETE_WINDOW", False);
    }
}

MessengerWindowsSim::~MessengerWindowsSim() = default;

int MessengerWindowsSim::connectionFd() const
{
    return display_ ? ConnectionNumber(display_.get()) : -1;
}

unsigned long MessengerWindowsSim::makeTopLevel(const std::string& className)
{
    Display* d = display_.get();
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 200, 150, 1, 0, 0xFFFFFF);
    XClassHint hint{const_cast<char*>("messenger"), const_cast<char*>(className.c_str())};
    XSetClassHint(d, window, &hint);
    // A placement of its own, so a window manager does not wait for the user to place it.
    XSizeHints size{};
    size.flags = USPosition | USSize;
    size.x = 10;
    size.y = 10;
    size.width = 200;
    size.height = 150;
    XSetWMNormalHints(d, window, &size);
    Atom deleteWindow = wmDeleteWindow_;
    XSetWMProtocols(d, window, &deleteWindow, 1);
    XSelectInput(d, window, StructureNotifyMask);
    return window;
}

unsigned long MessengerWindowsSim::makeChild(unsigned long parent, const std::string& className, int y)
{
    Display* d = display_.get();
    const Window child = XCreateSimpleWindow(d, parent, 5, y, 150, 20, 1, 0, 0xEEEEEE);
    XClassHint hint{const_cast<char*>("messenger"), const_cast<char*>(className.c_str())};
    XSetClassHint(d, child, &hint);
    XMapWindow(d, child);
    return child;
}

unsigned long MessengerWindowsSim::showMainForm(const std::string& title, bool loginControl, bool entryBox)
{
    if (!display_) {
        return 0;
    }
    Display* d = display_.get();
    const Window form = makeTopLevel("tSkMainForm.UnicodeClass");
    XChangeProperty(d, form, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    const long pid = ::getpid();
    XChangeProperty(d, form, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    // The controls sit inside a panel, as in the real form.
    const Window panel = makeChild(form, "TPanel", 5);
    XResizeWindow(d, panel, 190, 100);
    if (loginControl) {
        makeChild(panel, "TLoginControl", 5);
    }
    if (entryBox) {
        entryBox_ = makeChild(panel, "Edit", 40);
        entryText_.clear();
        allSelected_ = false;
        XSelectInput(d, entryBox_, KeyPressMask | FocusChangeMask);
    }
    XMapWindow(d, form);
    sync();
    return form;
}

unsigned long MessengerWindowsSim::showPopup(unsigned long owner, const std::string& title)
{
    if (!display_) {
        return 0;
    }
    const Window popup = makeTopLevel("TPopupForm");
    const std::string name = utf8ToLatin1(title);
    XStoreName(display_.get(), popup, name.c_str());
    XSetTransientForHint(display_.get(), popup, owner);
    XMapWindow(display_.get(), popup);
    sync();
    return popup;
}

void MessengerWindowsSim::setEntryText(const std::string& text)
{
    entryText_ = text;
    allSelected_ = false;
    report_("text " + entryText_);
}

void MessengerWindowsSim::focusEntryBox()
{
    if (display_ && entryBox_ != 0) {
        XSetInputFocus(display_.get(), entryBox_, RevertToParent, CurrentTime);
        sync();
    }
}

void MessengerWindowsSim::iconify(unsigned long window)
{
    if (display_) {
        XIconifyWindow(display_.get(), window, DefaultScreen(display_.get()));
        sync();
    }
}

void MessengerWindowsSim::hide(unsigned long window)
{
    if (display_) {
        XWithdrawWindow(display_.get(), window, DefaultScreen(display_.get()));
        sync();
    }
}

void MessengerWindowsSim::destroy(unsigned long window)
{
    if (display_) {
        XDestroyWindow(display_.get(), window);
        sync();
    }
}

void MessengerWindowsSim::sync()
{
    if (display_) {
        XSync(display_.get(), False);
    }
}

void MessengerWindowsSim::onKey(void* keyEvent)
{
    auto* key = static_cast<XKeyEvent*>(keyEvent);
    char text[16] = {};
    KeySym keysym = NoSymbol;
    const int length = XLookupString(key, text, sizeof text, &keysym, nullptr);
    if (keysym == XK_Tab) {
        report_("tab");
        return;
    }
    if ((key->state & ControlMask) != 0) {
        if (keysym == XK_a) {
            allSelected_ = true;
        }
        return;
    }
    if (keysym == XK_BackSpace) {
        if (allSelected_) {
            entryText_.clear();
        } else {
            // One character, however many bytes it takes.
            while (!entryText_.empty() && (static_cast<unsigned char>(entryText_.back()) & 0xC0) == 0x80) {
                entryText_.pop_back();
            }
            if (!entryText_.empty()) {
                entryText_.pop_back();
            }
        }
    } else if (length > 0) {
        if (allSelected_) {
            entryText_.clear();
        }
        entryText_.append(text, static_cast<std::size_t>(length));
    } else {
        return;
    }
    allSelected_ = false;
    report_("text " + entryText_);
}

void MessengerWindowsSim::processEvents()
{
    if (!display_) {
        return;
    }
    Display* d = display_.get();
    while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == KeyPress && event.xkey.window == entryBox_) {
            onKey(&event.xkey);
        } else if (event.type == FocusIn && event.xfocus.window == entryBox_) {
            report_("focus");
        } else if (event.type == ClientMessage && event.xclient.message_type == wmProtocols_ &&
                   static_cast<unsigned long>(event.xclient.data.l[0]) == wmDeleteWindow_) {
            char line[64];
            std::snprintf(line, sizeof line, "closed 0x%lx", event.xclient.window);
            report_(line);
            XDestroyWindow(d, event.xclient.window);
            XFlush(d);
        }
    }
}

}  // namespace tarnix
