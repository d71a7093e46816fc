#include "platform/linux/x11/x11_window_system.h"

#include "platform/linux/x11/x11_windows_log.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/keysym.h>

#include <algorithm>
#include <deque>

namespace tarnix {
namespace {

// The messenger's windows may vanish between two requests; Xlib's default handler would end the
// whole program on the error that follows. While a trap lives, errors are only counted.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display)
    {
        XSync(display_, False);
        errors_ = 0;
        previous_ = XSetErrorHandler(&ErrorTrap::count);
    }
    ~ErrorTrap()
    {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed()
    {
        XSync(display_, False);
        return errors_ != 0;
    }

private:
    static int count(Display*, XErrorEvent*)
    {
        ++errors_;
        return 0;
    }

    static inline int errors_ = 0;
    Display* display_;
    XErrorHandler previous_ = nullptr;
};

// One property's value, freed with the object.
struct Property {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned char* data = nullptr;

    Property(Display* display, Window window, Atom name, Atom wanted = AnyPropertyType)
    {
        unsigned long after = 0;
        if (XGetWindowProperty(display, window, name, 0, 65536, False, wanted, &type, &format, &items, &after,
                               &data) != Success) {
            data = nullptr;
            items = 0;
        }
    }
    ~Property()
    {
        if (data) {
            XFree(data);
        }
    }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    // Format-32 items arrive as longs whatever the size of a long.
    long firstLong() const { return format == 32 && items > 0 ? reinterpret_cast<long*>(data)[0] : -1; }
};

std::string latin1ToUtf8(const unsigned char* text, std::size_t length)
{
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

void X11WindowSystem::CloseDisplay::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

X11WindowSystem::X11WindowSystem(const char* displayName) : display_(XOpenDisplay(displayName))
{
    if (!display_) {
        // The missing display itself is told once, by the key injector.
        qCInfo(lcX11Windows, "the messenger's windows cannot be reached without a display");
        return;
    }
    Display* d = display_.get();
    int eventBase = 0;
    int errorBase = 0;
    hasXRes_ = XResQueryExtension(d, &eventBase, &errorBase) != 0;
    if (!hasXRes_) {
        qCInfo(lcX11Windows, "the X display has no X-Resource: only windows with _NET_WM_PID are found");
    }
    wmStateAtom_ = XInternAtom(d, "WM_STATE", False);
    netWmPidAtom_ = XInternAtom(d, "_NET_WM_PID", False);
    netWmNameAtom_ = XInternAtom(d, "_NET_WM_NAME", False);
    utf8StringAtom_ = XInternAtom(d, "UTF8_STRING", False);
    wmProtocolsAtom_ = XInternAtom(d, "WM_PROTOCOLS", False);
    wmDeleteWindowAtom_ = XInternAtom(d, "WM_DELETE_WINDOW", False);
}

X11WindowSystem::~X11WindowSystem() = default;

std::vector<unsigned long> X11WindowSystem::children(unsigned long window)
{
    Window root = None;
    Window parent = None;
    Window* list = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_.get(), window, &root, &parent, &list, &count)) {
        return {};
    }
    std::vector<unsigned long> result(list, list + count);
    if (list) {
        XFree(list);
    }
    return result;
}

long X11WindowSystem::wmState(unsigned long window)
{
    const Property state(display_.get(), window, wmStateAtom_, wmStateAtom_);
    return state.firstLong();
}

// A window manager puts each application window into a frame of its own and marks the
// application's window with WM_STATE; without one, the top-level window is the application's.
unsigned long X11WindowSystem::clientWindow(unsigned long frame)
{
    std::deque<unsigned long> pending{frame};
    while (!pending.empty()) {
        const unsigned long window = pending.front();
        pending.pop_front();
        if (wmState(window) != -1) {
            return window;
        }
        for (const unsigned long child : children(window)) {
            pending.push_back(child);
        }
    }
    return frame;
}

std::int64_t X11WindowSystem::processOf(unsigned long window)
{
    const Property pid(display_.get(), window, netWmPidAtom_, XA_CARDINAL);
    if (pid.firstLong() > 0) {
        return pid.firstLong();
    }
    if (!hasXRes_) {
        return 0;
    }
    XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* ids = nullptr;
    if (XResQueryClientIds(display_.get(), 1, &spec, &count, &ids) != Success) {
        return 0;
    }
    std::int64_t result = 0;
    for (long i = 0; i < count; ++i) {
        if (XResGetClientIdType(&ids[i]) == XRES_CLIENT_ID_PID) {
            result = XResGetClientPid(&ids[i]);
        }
    }
    XResClientIdsDestroy(count, ids);
    return result > 0 ? result : 0;
}

std::vector<WindowId> X11WindowSystem::topLevelWindows(std::int64_t pid)
{
    if (!display_ || pid <= 0) {
        return {};
    }
    ErrorTrap trap(display_.get());
    std::vector<WindowId> result;
    for (const unsigned long top : children(DefaultRootWindow(display_.get()))) {
        const unsigned long client = clientWindow(top);
        if (processOf(client) == pid) {
            result.push_back(client);
        }
    }
    return result;
}

std::vector<WindowId> X11WindowSystem::descendants(WindowId window)
{
    if (!display_ || window == 0) {
        return {};
    }
    ErrorTrap trap(display_.get());
    std::vector<WindowId> result;
    std::vector<unsigned long> pending = children(window);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const unsigned long current = pending.back();
        pending.pop_back();
        result.push_back(current);
        auto inner = children(current);
        pending.insert(pending.end(), inner.rbegin(), inner.rend());
    }
    return result;
}

std::string X11WindowSystem::className(WindowId window)
{
    if (!display_ || window == 0) {
        return {};
    }
    ErrorTrap trap(display_.get());
    XClassHint hint{nullptr, nullptr};
    if (!XGetClassHint(display_.get(), window, &hint)) {
        return {};
    }
    std::string result = hint.res_class ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return result;
}

std::string X11WindowSystem::title(WindowId window)
{
    if (!display_ || window == 0) {
        return {};
    }
    ErrorTrap trap(display_.get());
    {
        const Property name(display_.get(), window, netWmNameAtom_, utf8StringAtom_);
        if (name.data && name.format == 8) {
            return std::string(reinterpret_cast<const char*>(name.data), name.items);
        }
    }
    // Older programs set only WM_NAME, in Latin-1 (STRING) or already in UTF-8.
    const Property name(display_.get(), window, XA_WM_NAME);
    if (!name.data || name.format != 8) {
        return {};
    }
    if (name.type == XA_STRING) {
        return latin1ToUtf8(name.data, name.items);
    }
    return std::string(reinterpret_cast<const char*>(name.data), name.items);
}

WindowId X11WindowSystem::owner(WindowId window)
{
    if (!display_ || window == 0) {
        return 0;
    }
    ErrorTrap trap(display_.get());
    Window transientFor = None;
    if (!XGetTransientForHint(display_.get(), window, &transientFor)) {
        return 0;
    }
    // Some toolkits name the root for a dialog of the whole application: no window owns it.
    if (transientFor == DefaultRootWindow(display_.get())) {
        return 0;
    }
    return transientFor;
}

bool X11WindowSystem::exists(WindowId window)
{
    if (!display_ || window == 0) {
        return false;
    }
    ErrorTrap trap(display_.get());
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(display_.get(), window, &attributes);
    return status != 0 && !trap.failed();
}

std::int64_t X11WindowSystem::process(WindowId window)
{
    if (!display_ || window == 0) {
        return 0;
    }
    ErrorTrap trap(display_.get());
    const std::int64_t pid = processOf(window);
    return trap.failed() ? 0 : pid;
}

bool X11WindowSystem::visible(WindowId window)
{
    if (!display_ || window == 0) {
        return false;
    }
    ErrorTrap trap(display_.get());
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_.get(), window, &attributes)) {
        return false;
    }
    // A window manager unmaps a window it minimises; minimised still counts as shown.
    return attributes.map_state != IsUnmapped || wmState(window) == IconicState;
}

bool X11WindowSystem::minimised(WindowId window)
{
    if (!display_ || window == 0) {
        return false;
    }
    ErrorTrap trap(display_.get());
    return wmState(window) == IconicState;
}

void X11WindowSystem::close(WindowId window)
{
    if (!display_ || window == 0) {
        return;
    }
    ErrorTrap trap(display_.get());
    Atom* protocols = nullptr;
    int count = 0;
    bool deletable = false;
    if (XGetWMProtocols(display_.get(), window, &protocols, &count)) {
        deletable = std::find(protocols, protocols + count, wmDeleteWindowAtom_) != protocols + count;
        XFree(protocols);
    }
    // Without the protocol the only way left would be to cut the program off the display.
    if (!deletable) {
        qCWarning(lcX11Windows, "window 0x%lx cannot be asked to close", static_cast<unsigned long>(window));
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = wmProtocolsAtom_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(wmDeleteWindowAtom_);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_.get(), window, False, NoEventMask, &event);
}

void X11WindowSystem::focus(WindowId window)
{
    if (!display_ || window == 0) {
        return;
    }
    ErrorTrap trap(display_.get());
    XSetInputFocus(display_.get(), window, RevertToParent, CurrentTime);
    if (trap.failed()) {
        qCDebug(lcX11Windows, "window 0x%lx cannot take the focus", static_cast<unsigned long>(window));
    }
}

void X11WindowSystem::sendKeyEvent(unsigned long window, int type, unsigned keycode, unsigned state)
{
    Display* d = display_.get();
    XEvent event{};
    event.xkey.type = type;
    event.xkey.display = d;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(d);
    event.xkey.subwindow = None;
    event.xkey.time = CurrentTime;
    event.xkey.x = event.xkey.y = event.xkey.x_root = event.xkey.y_root = 1;
    event.xkey.state = state;
    event.xkey.keycode = keycode;
    event.xkey.same_screen = True;
    XSendEvent(d, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
}

// Keys are sent to the entry box itself rather than typed through XTest: they reach that window
// wherever the focus is, even with no window manager to give it, and keys the user holds down
// at that moment do not mix in.
void X11WindowSystem::sendKey(WindowId window, EditKey key)
{
    if (!display_ || window == 0) {
        return;
    }
    KeySym keysym = XK_BackSpace;
    unsigned state = 0;
    switch (key) {
        case EditKey::SelectAll:
            keysym = XK_a;
            state = ControlMask;
            break;
        case EditKey::Backspace:
            keysym = XK_BackSpace;
            break;
        case EditKey::Tab:
            keysym = XK_Tab;
            break;
    }
    const unsigned keycode = XKeysymToKeycode(display_.get(), keysym);
    if (keycode == 0) {
        qCWarning(lcX11Windows, "no key on this keyboard for keysym 0x%lx", keysym);
        return;
    }
    ErrorTrap trap(display_.get());
    sendKeyEvent(window, KeyPress, keycode, state);
    sendKeyEvent(window, KeyRelease, keycode, state);
}

}  // namespace tarnix
