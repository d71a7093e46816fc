#include "platform/linux/x11/xtest_key_injector.h"

#include "platform/linux/x11/xtest_log.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace tarnix {
namespace {

KeySym keysymFor(int virtualKey)
{
    using namespace VirtualKey;
    if (virtualKey >= Digit0 && virtualKey <= Digit0 + 9) {
        return XK_0 + (virtualKey - Digit0);
    }
    // A letter key types its lower-case letter unless Shift is down, as on the desktop it comes from.
    if (virtualKey >= LetterA && virtualKey < LetterA + 26) {
        return XK_a + (virtualKey - LetterA);
    }
    if (virtualKey >= Numpad0 && virtualKey <= Numpad0 + 9) {
        return XK_KP_0 + (virtualKey - Numpad0);
    }
    switch (virtualKey) {
        case Return:
            return XK_Return;
        case Escape:
            return XK_Escape;
        case Up:
            return XK_Up;
        case Down:
            return XK_Down;
        case Decimal:
            return XK_KP_Decimal;
        case LeftShift:
            return XK_Shift_L;
        default:
            return NoSymbol;
    }
}

// The numeric pad's digits and decimal share their keys with cursor keys; NumLock picks.
bool needsNumLock(KeySym keysym)
{
    return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal;
}

}  // namespace

void XTestKeyInjector::CloseDisplay::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

XTestKeyInjector::XTestKeyInjector(const char* displayName) : display_(XOpenDisplay(displayName))
{
    if (!display_) {
        qCInfo(lcXTest, "no X display: handset keys will not be typed into windows");
        return;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display_.get(), &eventBase, &errorBase, &major, &minor)) {
        qCInfo(lcXTest, "the X display has no XTest: handset keys will not be typed into windows");
        display_.reset();
        return;
    }
    numLockMask_ = XkbKeysymToModifiers(display_.get(), XK_Num_Lock);
}

XTestKeyInjector::~XTestKeyInjector()
{
    if (display_ && restoreNumLock_) {
        lockNumLock(false);
        XFlush(display_.get());
    }
}

void XTestKeyInjector::keyDown(int virtualKey)
{
    send(virtualKey, true);
}

void XTestKeyInjector::keyUp(int virtualKey)
{
    send(virtualKey, false);
}

// The server holds the next event back instead of our thread sleeping, so the caller (the UI
// thread) never waits for a key to be released.
void XTestKeyInjector::pause(int ms)
{
    if (ms > 0) {
        pendingDelayMs_ += static_cast<unsigned long>(ms);
    }
}

bool XTestKeyInjector::numLockLocked() const
{
    XkbStateRec state{};
    XkbGetState(display_.get(), XkbUseCoreKbd, &state);
    return (state.locked_mods & numLockMask_) != 0;
}

void XTestKeyInjector::lockNumLock(bool locked)
{
    XkbLockModifiers(display_.get(), XkbUseCoreKbd, numLockMask_, locked ? numLockMask_ : 0);
}

void XTestKeyInjector::send(int virtualKey, bool down)
{
    if (!display_) {
        return;
    }
    const KeySym keysym = keysymFor(virtualKey);
    const KeyCode keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(display_.get(), keysym);
    // A pause belongs to the event it precedes, even one that cannot be typed.
    const unsigned long delayMs = pendingDelayMs_;
    pendingDelayMs_ = 0;
    if (keycode == 0) {
        qCWarning(lcXTest, "no key on this keyboard for virtual key 0x%02X", virtualKey);
        return;
    }
    // Lock NumLock only for the press and give the user's setting back after the release.
    const bool keypad = numLockMask_ != 0 && needsNumLock(keysym);
    if (keypad && down && !restoreNumLock_ && !numLockLocked()) {
        lockNumLock(true);
        restoreNumLock_ = true;
    }
    XTestFakeKeyEvent(display_.get(), keycode, down ? True : False, delayMs);
    if (keypad && !down && restoreNumLock_) {
        lockNumLock(false);
        restoreNumLock_ = false;
    }
    XFlush(display_.get());
}

}  // namespace tarnix
