// Without a messenger the handset's keys are typed into the window that has the input focus.
#include "call_road.h"
#include "messenger_windows_sim.h"
#include "tray_display.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <poll.h>

#include <ostream>
#include <string>
#include <vector>

namespace tarnix::test {

// Found by the test framework beside the type, for the names of the cases.
void PrintTo(CallRoad::Messenger messenger, std::ostream* out)
{
    *out << (messenger == CallRoad::Messenger::NoBus ? "no session bus" : "a session bus without messenger");
}

namespace {

using Messenger = CallRoad::Messenger;

class KeysWithoutMessenger : public ::testing::TestWithParam<Messenger> {
protected:
    // Reads the display until the entry box holds the text.
    bool entryBoxHolds(const std::string& text)
    {
        const std::string wanted = "text " + text;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            windows.processEvents();
            if (!reports.empty() && reports.back() == wanted) return true;
            pollfd connection{windows.connectionFd(), POLLIN, 0};
            ::poll(&connection, 1, 100);
        }
        return false;
    }

    std::string reported() const
    {
        std::string all;
        for (const std::string& line : reports) all += "\n  " + line;
        return all;
    }

    TrayDisplay display;
    std::vector<std::string> reports;
    MessengerWindowsSim windows{display.name().toUtf8().constData(),
                                [this](const std::string& line) { reports.push_back(line); }};
};

TEST_P(KeysWithoutMessenger, DigitsStarHashAndTheCallKeyAreTypedIntoTheFocusedWindow)
{
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    ASSERT_TRUE(windows.available());
    // No window manager gives focus: the entry box takes it as a click would.
    windows.showMainForm("Notes", false, true);
    windows.focusEntryBox();

    CallRoad road(2, GetParam(), display.name());
    ASSERT_EQ(road.failure(), "");
    ASSERT_TRUE(road.handsetShowsClock());
    for (const char* key : {"4", "2", "*", "#", "call"}) road.handset(std::string("press ") + key);
    EXPECT_TRUE(entryBoxHolds("42*#\r")) << reported();
    EXPECT_TRUE(road.finish());
}

INSTANTIATE_TEST_SUITE_P(CallRoad, KeysWithoutMessenger,
                         ::testing::Values(Messenger::BusWithoutOne, Messenger::NoBus), [](const auto& info) {
                             return info.param == Messenger::NoBus ? "NoBus" : "BusWithoutMessenger";
                         });

}  // namespace
}  // namespace tarnix::test
