#include "platform/linux/x11/x11_window_system.h"

#include "child_process.h"
#include "messenger/skype_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tarnix {
namespace {

bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The messenger's windows shown by the window program, as one process.
class WindowProgram {
public:
    explicit WindowProgram(const std::string& display)
    {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", QString::fromStdString(display));
        process_ = std::make_unique<ChildProcess>(MESSENGER_WINDOWS_SIM, QStringList{}, environment);
    }

    std::int64_t pid() const { return process_->pid(); }

    void send(const std::string& line) { process_->write(line + "\n"); }

    // The first line from now on that starts with prefix; the lines before it are kept in seen.
    std::string await(const std::string& prefix)
    {
        for (;;) {
            const std::string line = process_->readLine();
            if (line.empty()) {
                ADD_FAILURE() << "no line starting with \"" << prefix << "\"";
                return {};
            }
            if (line.rfind(prefix, 0) == 0) {
                return line;
            }
            seen.push_back(line);
        }
    }

    WindowId show(const std::string& command)
    {
        send(command);
        const std::string answer = await(command.substr(0, command.find(' ')) + " ");
        return answer.empty() ? 0 : std::stoull(answer.substr(answer.find(' ') + 1), nullptr, 16);
    }

    std::vector<std::string> seen;

private:
    std::unique_ptr<ChildProcess> process_;
};

std::string hex(WindowId window)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(window));
    return text;
}

// A private X server, with a reparenting window manager or with none.
class X11WindowSystemTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        server_ = std::make_unique<ChildProcess>(
            "Xvfb", QStringList{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
        const std::string number = server_->readLine();
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        display_ = ":" + number;
        if (withWindowManager()) {
            // Without a font it can open, twm gives up; C locale: one font, no character-set warnings.
            auto environment = QProcessEnvironment::systemEnvironment();
            environment.insert("LC_ALL", "C");
            manager_ = std::make_unique<ChildProcess>(
                "twm", QStringList{"-display", display_.c_str(), "-f", TWM_CONFIG}, environment);
            ASSERT_TRUE(manager_->started()) << "twm is missing";
            Display* probe = XOpenDisplay(display_.c_str());
            ASSERT_NE(probe, nullptr);
            const bool managing = waitFor([probe] {
                XWindowAttributes root;
                XGetWindowAttributes(probe, DefaultRootWindow(probe), &root);
                return (root.all_event_masks & SubstructureRedirectMask) != 0;
            });
            XCloseDisplay(probe);
            ASSERT_TRUE(managing) << "twm did not take the screen";
        }
        system_ = std::make_unique<X11WindowSystem>(display_.c_str());
        ASSERT_TRUE(system_->available());
        program_ = std::make_unique<WindowProgram>(display_);
        windows_ = std::make_unique<SkypeWindows>(*system_, [this] { return program_->pid(); });
    }

    void TearDown() override
    {
        windows_.reset();
        program_.reset();
        system_.reset();
        manager_.reset();
        server_.reset();
    }

    bool withWindowManager() const { return GetParam(); }

    // Under a window manager: true once the window sits in a frame, not directly below the root.
    bool framed(WindowId window)
    {
        Display* probe = XOpenDisplay(display_.c_str());
        Window root = None;
        Window parent = None;
        Window* list = nullptr;
        unsigned count = 0;
        const bool known = XQueryTree(probe, window, &root, &parent, &list, &count) != 0;
        if (list) {
            XFree(list);
        }
        XCloseDisplay(probe);
        return known && parent != root;
    }

    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> manager_;
    std::string display_;
    std::unique_ptr<X11WindowSystem> system_;
    std::unique_ptr<WindowProgram> program_;
    std::unique_ptr<SkypeWindows> windows_;
};

TEST_P(X11WindowSystemTest, FindsTheMessengersFormEntryBoxAndPopupAndNoOneElses)
{
    WindowProgram stranger(display_);
    const WindowId strangerForm = stranger.show("form le Skype");
    const WindowId form = program_->show("form le Skype™ — Alice");
    ASSERT_NE(form, 0u);
    ASSERT_NE(strangerForm, 0u);
    if (withWindowManager()) {
        ASSERT_TRUE(waitFor([&] { return framed(form) && framed(strangerForm); }));
    }

    EXPECT_EQ(windows_->findMainWindow(), form);
    EXPECT_EQ(system_->className(form), std::string(SkypeWindows::MainFormClass));
    EXPECT_EQ(system_->title(form), "Skype™ — Alice");
    const WindowId entry = windows_->findEntryBox();
    EXPECT_EQ(system_->className(entry), std::string(SkypeWindows::EntryBoxClass));

    // The pop-up is a plain window without _NET_WM_PID: found by the client that made it.
    const WindowId popup = program_->show("popup Anruf für Alice");
    if (withWindowManager()) {
        ASSERT_TRUE(waitFor([&] { return framed(popup); }));
    }
    EXPECT_EQ(windows_->findPopup(), popup);
    EXPECT_EQ(system_->owner(popup), form);
    EXPECT_EQ(system_->title(popup), "Anruf für Alice");
    EXPECT_EQ(system_->process(popup), program_->pid());
    EXPECT_EQ(system_->owner(form), 0u);
}

TEST_P(X11WindowSystemTest, EntryBoxIsEditedThroughKeys)
{
    program_->show("form -e Skype");
    program_->send("text 12345");
    program_->await("text 12345");
    ASSERT_TRUE(waitFor([&] { return windows_->isOnScreen(windows_->findMainWindow()); }));

    windows_->backspaceEntryBox();
    EXPECT_EQ(program_->await("text"), "text 1234");
    windows_->clearEntryBox();
    EXPECT_EQ(program_->await("text"), "text");
    windows_->tabFromEntryBox();
    program_->await("tab");
    EXPECT_THAT(program_->seen, ::testing::Contains("focus"));
}

TEST_P(X11WindowSystemTest, ClosedWindowsGoAndTheMainWindowIsSearchedAgain)
{
    const WindowId form = program_->show("form e Skype");
    const WindowId popup = program_->show("popup Call");
    ASSERT_EQ(windows_->findMainWindow(), form);
    ASSERT_TRUE(waitFor([&] { return windows_->findPopup() == popup; }));

    windows_->closeWindow(popup);
    EXPECT_EQ(program_->await("closed"), "closed " + hex(popup));
    windows_->closeWindow(windows_->findMainWindow());
    EXPECT_EQ(program_->await("closed"), "closed " + hex(form));
    EXPECT_TRUE(waitFor([&] { return !system_->exists(form); }));

    const WindowId restarted = program_->show("form e Skype");
    EXPECT_EQ(windows_->findMainWindow(), restarted);
}

TEST_P(X11WindowSystemTest, HiddenAndMinimisedWindowsAreNotOnScreen)
{
    const WindowId hidden = program_->show("form - Skype");
    ASSERT_TRUE(waitFor([&] { return windows_->isOnScreen(hidden); }));
    program_->send("hide " + hex(hidden));
    program_->await("done");
    EXPECT_TRUE(waitFor([&] { return !system_->visible(hidden); }));
    EXPECT_FALSE(windows_->isOnScreen(hidden));

    const WindowId form = program_->show("form - Skype");
    ASSERT_TRUE(waitFor([&] { return windows_->isOnScreen(form); }));
    program_->send("iconify " + hex(form));
    program_->await("done");
    if (withWindowManager()) {
        EXPECT_TRUE(waitFor([&] { return system_->minimised(form); }));
        EXPECT_TRUE(system_->visible(form)) << "a minimised window still counts as shown";
        EXPECT_FALSE(windows_->isOnScreen(form));
    } else {
        // Nothing minimises a window when no window manager runs.
        EXPECT_TRUE(windows_->isOnScreen(form));
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, X11WindowSystemTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "UnderTwm" : "WithoutWindowManager"; });

TEST(X11WindowSystemWithoutDisplay, FindsNothingAndDoesNotFail)
{
    X11WindowSystem system(":4711");
    EXPECT_FALSE(system.available());
    SkypeWindows windows(system, [] { return std::int64_t{1}; });
    EXPECT_EQ(windows.findMainWindow(), 0u);
    EXPECT_FALSE(system.exists(1));
    windows.clearEntryBox();
    system.close(1);
    system.sendKey(1, EditKey::Tab);
}

}  // namespace
}  // namespace tarnix
