#include "messenger/skype_windows.h"

#include "fake_window_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnix {
namespace {

constexpr std::int64_t MessengerPid = 4242;
constexpr std::int64_t OtherPid = 77;
const std::string MainClass(SkypeWindows::MainFormClass);
const std::string LoginClass(SkypeWindows::LoginControlClass);
const std::string EntryClass(SkypeWindows::EntryBoxClass);

class SkypeWindowsTest : public ::testing::Test {
protected:
    WindowId top(const std::string& className, const std::string& title = {}, std::int64_t pid = MessengerPid)
    {
        return fake_.add({pid, className, title});
    }
    WindowId child(WindowId parent, const std::string& className)
    {
        return fake_.add({fake_.at(parent).pid, className, {}, parent});
    }
    WindowId owned(WindowId owner, bool visible = true)
    {
        FakeWindow w{MessengerPid, "TPopupForm", "Call"};
        w.owner = owner;
        w.visible = visible;
        return fake_.add(w);
    }

    FakeWindowSystem fake_;
    std::int64_t pid_ = MessengerPid;
    SkypeWindows windows_{fake_, [this] { return pid_; }};
};

// Each case builds the messenger's windows and names which one is the main window.
struct MainWindowCase {
    const char* name;
    std::vector<FakeWindow> tops;  // login control: a top whose title is "<login>"
    int expected;                  // index into tops, -1 for none
};

TEST_F(SkypeWindowsTest, MainWindowIsTheLoginFormElseTheLastMainFormNamedSkype)
{
    const std::string login = "<login>";
    const std::string longTitle = std::string(99, 'x') + "Skype";
    const std::string astralTitle = std::string(93, 'x') + "\xF0\x9F\x93\x9E" + "Skype";  // 100 units
    const MainWindowCase cases[] = {
        {"login form beats an earlier main form",
         {{MessengerPid, MainClass, "Skype"}, {MessengerPid, "TForm", login}},
         1},
        {"login form beats a later main form",
         {{MessengerPid, "TForm", login}, {MessengerPid, MainClass, "Skype"}},
         0},
        {"last of several main forms",
         {{MessengerPid, MainClass, "Skype - a"}, {MessengerPid, MainClass, "b Skype"}},
         1},
        {"title without Skype is ignored",
         {{MessengerPid, MainClass, "Skype™"}, {MessengerPid, MainClass, "Chat"}},
         0},
        {"title compared case-sensitively", {{MessengerPid, MainClass, "skype"}}, -1},
        {"class compared whole",
         {{MessengerPid, MainClass + "X", "Skype"}, {MessengerPid, "tskmainform.unicodeclass", "Skype"}},
         -1},
        {"Skype past the 99th character is not seen", {{MessengerPid, MainClass, longTitle}}, -1},
        {"a character outside the basic plane takes two units", {{MessengerPid, MainClass, astralTitle}}, -1},
        {"other programs' windows are ignored",
         {{OtherPid, MainClass, "Skype"}, {OtherPid, "TForm", login}},
         -1},
        {"no windows", {}, -1},
    };
    for (const auto& c : cases) {
        FakeWindowSystem fake;
        std::vector<WindowId> ids;
        for (const auto& t : c.tops) {
            FakeWindow w = t;
            const bool isLogin = w.title == login;
            if (isLogin) {
                w.title = "Sign in";
            }
            ids.push_back(fake.add(w));
            if (isLogin) {
                // Deep inside the form, as the real control sits.
                const WindowId panel = fake.add({w.pid, "TPanel", {}, ids.back()});
                fake.add({w.pid, LoginClass, {}, panel});
            }
        }
        SkypeWindows windows(fake, [] { return MessengerPid; });
        const WindowId expected = c.expected < 0 ? 0 : ids[static_cast<std::size_t>(c.expected)];
        EXPECT_EQ(windows.findMainWindow(), expected) << c.name;
        EXPECT_EQ(windows.mainWindow(), expected) << c.name;
    }
}

TEST_F(SkypeWindowsTest, NothingIsFoundWhileNoMessengerIsAttached)
{
    const WindowId main = top(MainClass, "Skype");
    child(main, EntryClass);
    owned(main);
    EXPECT_EQ(windows_.findMainWindow(), main);
    pid_ = 0;
    EXPECT_EQ(windows_.findMainWindow(), 0u);
    EXPECT_EQ(windows_.findPopup(), 0u);
    windows_.clearEntryBox();
    windows_.backspaceEntryBox();
    windows_.tabFromEntryBox();
    EXPECT_TRUE(fake_.actions.empty());
}

TEST_F(SkypeWindowsTest, CachedMainWindowIsKeptUntilItIsGoneOrForgotten)
{
    const WindowId first = top(MainClass, "Skype");
    EXPECT_EQ(windows_.findMainWindow(), first);
    const WindowId second = top(MainClass, "Skype 2");
    EXPECT_EQ(windows_.findMainWindow(), first) << "a cached window that still exists is kept";
    EXPECT_EQ(fake_.listings, 1);

    fake_.remove(first);  // the messenger restarted
    EXPECT_EQ(windows_.findMainWindow(), second);
    fake_.at(second).pid = OtherPid;  // its number now names another program's window
    EXPECT_EQ(windows_.findMainWindow(), 0u);
    fake_.at(second).pid = MessengerPid;
    EXPECT_EQ(windows_.findMainWindow(), second);

    const WindowId third = top(MainClass, "Skype 3");
    windows_.forgetMainWindow();
    EXPECT_EQ(windows_.mainWindow(), 0u);
    EXPECT_EQ(windows_.findMainWindow(), third);

    fake_.remove(second);
    fake_.remove(third);
    EXPECT_EQ(windows_.findMainWindow(), 0u);
    EXPECT_EQ(windows_.mainWindow(), 0u);
}

TEST_F(SkypeWindowsTest, PopupIsTheFirstShownOwnedTopLevelWindow)
{
    const WindowId main = top(MainClass, "Skype");
    EXPECT_EQ(windows_.findPopup(), 0u) << "no pop-up before the main window was looked up";
    windows_.findMainWindow();
    EXPECT_EQ(windows_.findPopup(), 0u);

    top("TForm", "not owned");
    owned(main, false);
    fake_.add({OtherPid, "TPopupForm", "other program", 0, main});
    const WindowId popup = owned(main);
    const WindowId later = owned(popup);
    EXPECT_EQ(windows_.findPopup(), popup);
    fake_.at(popup).minimised = true;
    EXPECT_EQ(windows_.findPopup(), popup) << "a minimised pop-up is still shown";
    fake_.at(main).minimised = true;
    EXPECT_EQ(windows_.findPopup(), 0u) << "hidden with their minimised owners";
    fake_.at(popup).minimised = false;
    EXPECT_EQ(windows_.findPopup(), later);
    fake_.at(main).minimised = false;
    fake_.remove(popup);
    EXPECT_EQ(windows_.findPopup(), later);
}

TEST_F(SkypeWindowsTest, EntryBoxEditsGoToTheFirstEditOfTheMainWindow)
{
    const WindowId other = top("TForm", "Chat");
    child(other, EntryClass);
    const WindowId main = top(MainClass, "Skype");
    const WindowId panel = child(main, "TPanel");
    const WindowId entry = child(panel, EntryClass);
    child(main, EntryClass);

    EXPECT_EQ(windows_.findEntryBox(), entry);
    windows_.clearEntryBox();
    windows_.backspaceEntryBox();
    windows_.tabFromEntryBox();
    const std::string e = std::to_string(entry);
    const std::vector<std::string> expected = {
        "key " + e + " SelectAll",
        "key " + e + " Backspace",  // clear
        "key " + e + " Backspace",  // backspace
        "focus " + e,
        "key " + e + " Tab",  // tab
    };
    EXPECT_EQ(fake_.actions, expected);
}

TEST_F(SkypeWindowsTest, EditsAndClosingDoNothingWithoutTheirWindow)
{
    top(MainClass, "Skype");
    windows_.clearEntryBox();
    windows_.backspaceEntryBox();
    windows_.tabFromEntryBox();
    windows_.closeWindow(0);
    EXPECT_TRUE(fake_.actions.empty());

    const WindowId main = windows_.findMainWindow();
    windows_.closeWindow(main);
    EXPECT_EQ(fake_.actions, std::vector<std::string>{"close " + std::to_string(main)});
}

}  // namespace
}  // namespace tarnix
