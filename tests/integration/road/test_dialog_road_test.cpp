// The handset test dialog of the real program, opened by another program's command: the keys of
// the virtual handset show in it and drive the handset, and none reaches the messenger.
#include "call_road.h"
#include "tray_display.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnix::test {
namespace {

TEST(TestDialogRoad, KeysShowInTheDialogDriveTheHandsetAndReachNoMessenger)
{
    TrayDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    CallRoad::Extras extras;
    extras.prepare = [](ProgramSession& session) {
        session.setVariable("QT_LOGGING_RULES", "tarnix.ui.debug=true");
        return std::string();
    };
    extras.programLog = true;
    CallRoad road(2, CallRoad::Messenger::OnBus, display.name(), {}, extras);
    ASSERT_EQ(road.failure(), "");
    ASSERT_TRUE(road.handsetShowsClock());
    road.messenger("wait-attach");

    auto opener = road.session().start({"--test-dialog"});
    ASSERT_TRUE(opener->waitForExit()) << opener->output().toStdString();
    EXPECT_EQ(opener->exitCode(), 0);
    ASSERT_TRUE(road.handsetSays("tarnix.ui: the test dialog shows USB Phone Found"));

    for (const char* digit : {"1", "2", "3"}) {
        road.handset(std::string("press ") + digit);
        ASSERT_TRUE(road.handsetSays(std::string("tarnix.ui: the test dialog adds ") + digit));
    }
    ASSERT_TRUE(road.handsetShows("lcd=\"123\""));

    road.handset("press star");
    road.handset("press up");
    ASSERT_TRUE(road.handsetSays("tarnix.ui: the test dialog adds [上]"));
    ASSERT_TRUE(road.handsetShows("ring=on"));
    road.handset("press star");
    road.handset("press down");
    ASSERT_TRUE(road.handsetSays("tarnix.ui: the test dialog adds [下]"));
    ASSERT_TRUE(road.handsetShows("ring=off"));

    // The program ends with the dialog open.
    EXPECT_TRUE(road.finish());
    for (const std::string& line : road.messengerLines()) {
        EXPECT_EQ(line.find("BTN_"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace tarnix::test
