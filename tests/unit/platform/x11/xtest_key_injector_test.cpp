#include "platform/linux/x11/xtest_key_injector.h"

#include "app/key_injector.h"
#include "app/keyboard_emulator.h"
#include "child_process.h"
#include "device/handset_codes.h"
#include "key_name.h"

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>

namespace tarnix {
namespace {

struct KeyEvent {
    bool press;
    std::string keysym;
    Time time;
};

// A private X server with one window that has the input focus and writes down what it receives.
class XTestKeyInjectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server_ = std::make_unique<ChildProcess>(
            "Xvfb", QStringList{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "320x240x24"});
        const std::string number = server_->readLine();
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        displayName_ = ":" + number;
        display_ = XOpenDisplay(displayName_.c_str());
        ASSERT_NE(display_, nullptr);
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
        XSelectInput(display_, window_, KeyPressMask | KeyReleaseMask);
        XMapWindow(display_, window_);
        XSync(display_, False);
        // No window manager: nothing gives the window the focus but us.
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
        XSync(display_, False);
    }

    void TearDown() override
    {
        if (display_) {
            XCloseDisplay(display_);
        }
    }

    std::optional<KeyEvent> nextKeyEvent(int timeoutMs = 2000)
    {
        while (XPending(display_) == 0) {
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            if (::poll(&fd, 1, timeoutMs) <= 0) {
                return std::nullopt;
            }
        }
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != KeyPress && event.type != KeyRelease) {
            return nextKeyEvent(timeoutMs);
        }
        // Keysyms as the window sees them, with Shift and NumLock applied.
        KeySym keysym = NoSymbol;
        char text[16];
        XLookupString(&event.xkey, text, sizeof text, &keysym, nullptr);
        const char* name = XKeysymToString(keysym);
        return KeyEvent{event.type == KeyPress, name ? name : "?", event.xkey.time};
    }

    // The keysyms of the presses up to the release of the last key pressed, after checking
    // that every key went up again at least `heldMs` after it went down.
    std::vector<std::string> receivedPresses(std::size_t presses, int heldMs)
    {
        std::vector<std::string> names;
        std::vector<KeyEvent> down;
        std::size_t releases = 0;
        while (releases < presses) {
            const auto event = nextKeyEvent();
            if (!event) {
                ADD_FAILURE() << "missing key events after " << names.size() << " presses";
                break;
            }
            if (event->press) {
                names.push_back(event->keysym);
                down.push_back(*event);
                continue;
            }
            ++releases;
            for (const auto& d : down) {
                if (d.keysym == event->keysym) {
                    EXPECT_GE(event->time - d.time, static_cast<Time>(heldMs)) << d.keysym;
                }
            }
        }
        return names;
    }

    bool numLockLocked()
    {
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        return (state.locked_mods & XkbKeysymToModifiers(display_, XK_Num_Lock)) != 0;
    }

    std::unique_ptr<ChildProcess> server_;
    std::string displayName_;
    Display* display_ = nullptr;
    Window window_ = 0;
};

struct TypedCase {
    int code;
    std::vector<std::string> presses;
};

TEST_F(XTestKeyInjectorTest, FocusedWindowReceivesTheKeysOfEveryHandsetKey)
{
    XTestKeyInjector keys(displayName_.c_str());
    ASSERT_TRUE(keys.available());
    std::int32_t hook = -1;
    KeyboardEmulator emulator(keys, hook);

    const TypedCase cases[] = {
        {Key0, {"0"}},
        {Key1, {"1"}},
        {Key2, {"2"}},
        {Key3, {"3"}},
        {Key4, {"4"}},
        {Key5, {"5"}},
        {Key6, {"6"}},
        {Key7, {"7"}},
        {Key8, {"8"}},
        {Key9, {"9"}},
        {KeyStar, {"Shift_L", "asterisk"}},
        {KeyHash, {"Shift_L", "numbersign"}},
        {KeyNo, {"Escape"}},
        {KeyUp, {"Up"}},
        {KeyYes, {"Return"}},
        {KeyDown, {"Down"}},
        {HookOff, {"Return"}},
        {HookOn, {"Escape"}},
        {HookOn, {"f"}},
        {HookOff, {"Return"}},
        {HookOff, {"p"}},
        {KeyMute, {"KP_4"}},
        {KeyDelete, {"KP_Decimal"}},
    };
    for (const auto& c : cases) {
        emulator.EmulateKey(c.code);
        EXPECT_EQ(receivedPresses(c.presses.size(), KeyboardEmulator::PressMs), c.presses)
            << "key " << test::keyName(c.code);
    }
    EXPECT_FALSE(numLockLocked()) << "the user's NumLock setting was not given back";
}

TEST_F(XTestKeyInjectorTest, NumLockTheUserLockedStaysLocked)
{
    XkbLockModifiers(display_, XkbUseCoreKbd, XkbKeysymToModifiers(display_, XK_Num_Lock),
                     XkbKeysymToModifiers(display_, XK_Num_Lock));
    XSync(display_, False);
    XTestKeyInjector keys(displayName_.c_str());
    std::int32_t hook = -1;
    KeyboardEmulator emulator(keys, hook);

    emulator.EmulateKey(100);
    EXPECT_EQ(receivedPresses(1, 0), std::vector<std::string>{"KP_4"});
    EXPECT_TRUE(numLockLocked());
}

TEST_F(XTestKeyInjectorTest, KeyWithoutKeysymIsSkippedWithItsPause)
{
    XTestKeyInjector keys(displayName_.c_str());
    keys.keyDown(VirtualKey::Digit0 + 2);
    keys.keyUp(VirtualKey::Digit0 + 2);
    keys.keyDown(0xFF);
    keys.pause(300);
    keys.keyUp(0xFF);
    keys.keyDown(VirtualKey::Digit0 + 1);
    keys.keyUp(VirtualKey::Digit0 + 1);

    const auto first = nextKeyEvent();
    ASSERT_TRUE(first && first->keysym == "2");
    std::optional<KeyEvent> next;
    do {
        next = nextKeyEvent();
    } while (next && next->keysym != "1");
    ASSERT_TRUE(next);
    EXPECT_LT(next->time - first->time, 150u) << "the skipped key's pause held the next key back";
}

TEST(XTestKeyInjectorWithoutDisplay, PressesNothingAndDoesNotFail)
{
    const char* saved = std::getenv("DISPLAY");
    const std::string restore = saved ? saved : "";
    ::unsetenv("DISPLAY");
    const char* const names[] = {nullptr, ":4711"};
    for (const char* name : names) {
        XTestKeyInjector keys(name);
        EXPECT_FALSE(keys.available());
        std::int32_t hook = -1;
        KeyboardEmulator(keys, hook).EmulateKey(80);
        EXPECT_EQ(hook, 0);
    }
    if (saved) {
        ::setenv("DISPLAY", restore.c_str(), 1);
    }
}

}  // namespace
}  // namespace tarnix
