#include "child_process.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tarnix {
namespace {

using Lines = std::vector<std::string>;

// A private session bus with the messenger stand-in and the driver on it.
class SkypeLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.remove("DISPLAY");
        bus_ = std::make_unique<ChildProcess>("dbus-daemon",
                                              QStringList{"--session", "--nofork", "--print-address=1"});
        const std::string address = bus_->readLine();
        ASSERT_FALSE(address.empty()) << "dbus-daemon did not start";
        env_.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString(address));
    }

    void startSim(const QStringList& arguments = {})
    {
        sim_ = std::make_unique<ChildProcess>(SKYPE_SIM, arguments, env_);
        ASSERT_NE(waitFor(*sim_, "EVENT ready"), "");
    }
    void startDriver()
    {
        driver_ = std::make_unique<ChildProcess>(SKYPE_LINK_DRIVER, QStringList{}, env_);
        ASSERT_NE(waitFor(*driver_, "ready"), "");
    }
    // Both running and attached; the stand-in's record read up to the contacts' names.
    void attach()
    {
        startSim();
        startDriver();
        ASSERT_NE(waitFor(*driver_, "status Connected with Skype / Skype is online"), "");
        ASSERT_NE(waitFor(*sim_, "CMD GET USER bob DISPLAYNAME"), "");
    }

    // Reads lines until one contains the text; returns it, or "" when none comes in time.
    // Every line read on the way is kept in `seen`.
    static std::string waitFor(ChildProcess& child, const std::string& text, int timeoutMs = 5000,
                               Lines* seen = nullptr)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const std::string line = child.readLine(static_cast<int>(timeoutMs - clock.elapsed()));
            if (seen != nullptr && !line.empty()) seen->push_back(line);
            if (line.find(text) != std::string::npos) return line;
        }
        return {};
    }
    // The commands the stand-in received, in order, from its record lines.
    static Lines commands(const Lines& record)
    {
        Lines out;
        for (const std::string& line : record) {
            const auto at = line.find(" CMD ");
            if (at != std::string::npos) out.push_back(line.substr(at + 5));
        }
        return out;
    }
    std::string state()
    {
        driver_->writeLine("state");
        return waitFor(*driver_, "state ");
    }

    QProcessEnvironment env_;
    std::unique_ptr<ChildProcess> bus_;
    std::unique_ptr<ChildProcess> sim_;
    std::unique_ptr<ChildProcess> driver_;
};

TEST_F(SkypeLinkTest, AttachRunsTheHandshakeThenTheStartCommandsAndAsksForEachContactsNames)
{
    startSim();
    startDriver();
    Lines record;
    ASSERT_NE(waitFor(*sim_, "CMD GET USER bob DISPLAYNAME", 5000, &record), "");
    EXPECT_EQ(commands(record),
              (Lines{"NAME TarnixUsbPhone", "PROTOCOL 5", "GET SKYPEVERSION", "SEARCH FRIENDS",
                     "SEARCH ACTIVECALLS", "SET AUDIO_OUT USB Audio Device", "SET RINGER USB Audio Device",
                     "SET AUDIO_IN USB Audio Device", "GET USER alice FULLNAME", "GET USER alice DISPLAYNAME",
                     "GET USER bob FULLNAME", "GET USER bob DISPLAYNAME"}));
    EXPECT_NE(waitFor(*driver_, "status Connected with Skype / Skype is online"), "");
    EXPECT_EQ(state(), "state attached=1 incall=0 mute=0 userstatus=0 version=8 friends=2");
}

TEST_F(SkypeLinkTest, RingingCallRingsTheHandsetAtTheRingVolumeThenWithTheMelody)
{
    attach();
    sim_->writeLine("ring 7 carol");
    Lines shown;
    ASSERT_NE(waitFor(*driver_, "report 01 04", 3000, &shown), "");
    Lines reports;
    for (const std::string& line : shown) {
        if (line.rfind("report 01 ", 0) == 0) reports.push_back(line);
    }
    // The ringer step the handset layer gives volume 80, then melody 3 (0x04).
    EXPECT_EQ(reports, (Lines{"report 01 2B", "report 01 04"}));
    EXPECT_NE(waitFor(*sim_, "CMD GET CALL 7 PARTNER_HANDLE"), "");
}

TEST_F(SkypeLinkTest, SecondIncomingCallIsRefusedWhileTheFirstGoesOn)
{
    attach();
    sim_->writeLine("ring 7 carol");
    sim_->writeLine("status 7 INPROGRESS");
    ASSERT_NE(waitFor(*driver_, "light -1"), "");
    sim_->writeLine("ring 8 dave");
    ASSERT_NE(waitFor(*sim_, "CMD SET CALL 8 STATUS FINISHED"), "");
    ASSERT_NE(waitFor(*sim_, "NOTIFY CALL 8 STATUS FINISHED"), "");
    EXPECT_EQ(state().substr(0, 26), "state attached=1 incall=1 ");
}

// The answer to a command and a notification the messenger sent after it reach a busy driver
// together; they must be taken in the order they were sent.
TEST_F(SkypeLinkTest, ReplyAndALaterNotificationKeepTheirOrderWhileTheDriverIsBusy)
{
    attach();
    driver_->writeLine("sendbusy 700 GET MUTE");
    ASSERT_NE(waitFor(*sim_, "CMD GET MUTE"), "");
    sim_->writeLine("mute on");
    ASSERT_NE(waitFor(*sim_, "NOTIFY MUTE ON"), "");
    std::string line;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000 && line.find(" mute=1 ") == std::string::npos) line = state();
    EXPECT_NE(line.find(" mute=1 "), std::string::npos) << line;
}

TEST_F(SkypeLinkTest, NotificationFromAnotherConnectionIsIgnored)
{
    attach();
    sim_->writeLine("foreign MUTE ON");
    sim_->writeLine("foreign USERSTATUS DND");
    sim_->writeLine("userstatus AWAY");
    ASSERT_NE(waitFor(*sim_, "NOTIFY USERSTATUS AWAY"), "");
    Lines shown;
    QElapsedTimer clock;
    clock.start();
    std::string line;
    do {
        line = state();
    } while (line.find("userstatus=3") == std::string::npos && clock.elapsed() < 3000);
    EXPECT_EQ(line, "state attached=1 incall=0 mute=0 userstatus=3 version=8 friends=2");
}

TEST_F(SkypeLinkTest, TextsBelowTheLimitPassAndLongerOnesAreDropped)
{
    attach();
    const std::string prefix = "SKYPEVERSION ";
    sim_->writeLine("notify " + prefix + std::string(16383 - prefix.size(), 'v'));
    sim_->writeLine("notify " + prefix + std::string(16384 - prefix.size(), 'w'));
    sim_->writeLine("userstatus NA");
    ASSERT_NE(waitFor(*sim_, "NOTIFY USERSTATUS NA"), "");
    std::string line;
    QElapsedTimer clock;
    clock.start();
    do {
        line = state();
    } while (line.find("userstatus=4") == std::string::npos && clock.elapsed() < 3000);
    EXPECT_NE(line.find("version=16370 "), std::string::npos) << line;
}

TEST_F(SkypeLinkTest, KilledMessengerIsNoticedWithinOneWatchPeriodAndFoundAgainWhenBack)
{
    attach();
    sim_->crash();
    QElapsedTimer clock;
    clock.start();
    ASSERT_NE(waitFor(*driver_, "status Disconnected with Skype / Skype is offline", 4000), "");
    // One watch period of 2000 ms, and the event loop's coarse timers may be a little late.
    EXPECT_LE(clock.elapsed(), 2200);

    startSim();
    clock.restart();
    ASSERT_NE(waitFor(*driver_, "status Connected with Skype / Skype is online", 4000), "");
    // The new owner of the service is announced at once; the watch tick is not waited for.
    EXPECT_LE(clock.elapsed(), 1000);
}

// Nobody owns the service when the driver starts, so it asks nobody; the messenger that takes
// the service later is attached at once.
TEST_F(SkypeLinkTest, MessengerStartedAfterTheDriverIsAttachedAtOnce)
{
    startDriver();
    QThread::msleep(2500);  // past a watch tick with no messenger
    startSim();
    QElapsedTimer clock;
    clock.start();
    ASSERT_NE(waitFor(*driver_, "status Connected with Skype / Skype is online", 4000), "");
    EXPECT_LE(clock.elapsed(), 1000);
}

// A messenger that gives its service up is no longer the messenger, though its process lives
// on: the link is lost and its call ends on the handset.
TEST_F(SkypeLinkTest, MessengerThatGivesUpItsServiceIsLeftAndItsCallEnds)
{
    attach();
    sim_->writeLine("ring 7 carol");
    sim_->writeLine("status 7 INPROGRESS");
    ASSERT_NE(waitFor(*driver_, "light -1"), "");

    sim_->writeLine("release");
    ASSERT_NE(waitFor(*sim_, "EVENT released"), "");
    QElapsedTimer clock;
    clock.start();
    Lines shown;
    ASSERT_NE(waitFor(*driver_, "status Disconnected with Skype / Skype is offline", 4000, &shown), "");
    EXPECT_LE(clock.elapsed(), 2200);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "light 0"), shown.end());
    EXPECT_EQ(state().substr(0, 26), "state attached=0 incall=0 ");
}

TEST_F(SkypeLinkTest, HungMessengerTimesTheCommandOutAndTheClientDetachesWithoutBlocking)
{
    attach();
    sim_->writeLine("hang");
    ASSERT_NE(waitFor(*sim_, "EVENT hang"), "");
    QElapsedTimer clock;
    clock.start();
    driver_->writeLine("send GET MUTE");
    // The driver answers at once while the command waits.
    EXPECT_EQ(state().substr(0, 16), "state attached=1");
    EXPECT_LE(clock.elapsed(), 500);
    std::string line;
    do {
        line = state();
    } while (line.find("attached=1") != std::string::npos && clock.elapsed() < 3000);
    EXPECT_EQ(line.substr(0, 16), "state attached=0");
    EXPECT_GE(clock.elapsed(), 900);
    // The next watch tick tells the user.
    EXPECT_NE(waitFor(*driver_, "status Disconnected with Skype / Skype is offline", 2500), "");
}

TEST_F(SkypeLinkTest, RefusedAccessKeepsLookingAndALateGrantAttaches)
{
    startSim({"--name", "refuse"});
    startDriver();
    Lines record;
    waitFor(*sim_, "never", 3000, &record);
    const Lines sent = commands(record);
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "NAME TarnixUsbPhone");
    EXPECT_EQ(sent[1], "NAME TarnixUsbPhone");
    EXPECT_EQ(state().substr(0, 16), "state attached=0");

    sim_->crash();
    startSim({"--name", "late", "--name-delay", "1500"});
    EXPECT_NE(waitFor(*driver_, "status Connected with Skype / Skype is online", 5000), "");
}

}  // namespace
}  // namespace tarnix
