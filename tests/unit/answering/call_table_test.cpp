#include "answering/call_table.h"

#include "answering/call_clock.h"
#include "answering/command_sender.h"
#include "answering/front_window.h"
#include "answering/voice_answering.h"
#include "config/message_record.h"
#include "config/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnix {
namespace {

using Transcript = std::vector<std::string>;

struct FakeClock final : CallClock {
    std::int64_t tickMs() const override { return tick; }
    std::tm localTime() const override { return local; }
    std::int64_t tick = 1000;
    std::tm local{};
};

struct Recorder final : CommandSender, FrontWindow, VoiceAnswering {
    int sendCommand(const char* text) override
    {
        log.push_back(text);
        return 1;
    }
    void BringToFront() override { log.push_back("front"); }
    void AddRecordItem(int index, const MessageRecord& record) override
    {
        log.push_back("record " + std::to_string(index) + " " + record.userName.c_str());
    }
    void startVoiceAnswering(CallEntry& entry) override
    {
        log.push_back("answer " + std::to_string(entry.id));
    }
    void endVoiceAnswering(CallEntry& entry) override
    {
        log.push_back("end answer " + std::to_string(entry.id));
    }
    void startAnswering(const std::u16string&, const std::u16string&) override {}
    void stopAnswering() override {}
    void ringingStarted(CallEntry&) override {}
    bool userTakesCall() override { return false; }
    void noteAudioDevice(bool, const std::u16string&) override {}
    void finishBeforeExit() override {}
    Transcript take() { return std::exchange(log, {}); }
    Transcript log;
};

class CallTableTest : public ::testing::Test {
protected:
    void setTime(int hour, int minute, int second)
    {
        clock.local = {};
        clock.local.tm_year = 106;
        clock.local.tm_mon = 2;
        clock.local.tm_mday = 1;
        clock.local.tm_hour = hour;
        clock.local.tm_min = minute;
        clock.local.tm_sec = second;
    }

    FakeClock clock;
    Settings settings;
    Recorder out;
    CallTable skype{CallTable::Skype, {clock, settings, out, out, &out}};
    CallTable qq{CallTable::Qq, {clock, settings, out, out, &out}};
};

TEST_F(CallTableTest, RingingAsksForThePartnerUntilKnownAndKeepsTheLastRingTime)
{
    setTime(9, 5, 7);
    skype.markRinging(12);
    setTime(9, 5, 9);
    skype.markRinging(12);
    EXPECT_EQ(out.take(), (Transcript{"GET CALL 12 PARTNER_HANDLE", "GET CALL 12 PARTNER_HANDLE"}));
    EXPECT_STREQ(skype.findCall(12)->record.ringTime.c_str(), "2006-03-01 09:05:09");

    skype.setPartner(*skype.findCall(12), "alice");
    setTime(10, 0, 0);
    skype.markRinging(12);
    skype.markInProgress(12);
    EXPECT_TRUE(out.take().empty());
    EXPECT_STREQ(skype.findCall(12)->record.ringTime.c_str(), "2006-03-01 09:05:09");
    EXPECT_STREQ(skype.findCall(12)->record.userName.c_str(), "alice");
}

TEST_F(CallTableTest, RingDeadlineIsSetByTheFirstRingingOnly)
{
    settings.voiceOnlineSecs = 20;
    skype.markRinging(3);
    clock.tick = 5000;
    skype.markRinging(3);
    EXPECT_EQ(skype.findCall(3)->ringDeadline, 1000 + 20000);
}

TEST_F(CallTableTest, QueriesOverRingingAndInProgressEntries)
{
    skype.markRinging(9);
    skype.markInProgress(9);
    skype.markRinging(5);
    EXPECT_FALSE(skype.incomingRingingIdle());
    EXPECT_EQ(skype.firstRingingId(), 5);
    EXPECT_EQ(skype.firstInProgressId(), 9);
    EXPECT_TRUE(skype.anyCallActive());
    EXPECT_TRUE(skype.isIncomingRinging(5));
    EXPECT_FALSE(skype.isIncomingRinging(9));

    skype.markEnded(9);
    EXPECT_TRUE(skype.incomingRingingIdle());
    EXPECT_EQ(skype.firstInProgressId(), 0);
    skype.markEnded(5);
    EXPECT_FALSE(skype.anyCallActive());
    EXPECT_EQ(skype.firstRingingId(), 0);
    EXPECT_EQ(skype.size(), 0u);
}

TEST_F(CallTableTest, EndingAnUnknownCallChangesNothing)
{
    skype.markRinging(4);
    out.take();
    skype.markEnded(7);
    EXPECT_EQ(skype.size(), 1u);
    EXPECT_TRUE(out.take().empty());
}

TEST_F(CallTableTest, RoutingMakesAnOutgoingCallThatNeverRingsIdleNorStartsAnswering)
{
    skype.markRouting(6);
    EXPECT_EQ(out.take(), Transcript{"GET CALL 6 PARTNER_HANDLE"});
    skype.markRinging(6);
    EXPECT_FALSE(skype.incomingRingingIdle());
    EXPECT_FALSE(skype.isIncomingRinging(6));
    skype.findCall(6)->armed = true;
    settings.callAcceptToFront = 1;
    out.take();
    skype.markInProgress(6);
    EXPECT_EQ(out.take(), Transcript{"GET CALL 6 PARTNER_HANDLE"});
}

TEST_F(CallTableTest, ArmedIncomingCallIsAnsweredAndItsAnsweringEndedWithIt)
{
    struct Case {
        int callAcceptToFront;
        Transcript expected;
    };
    for (const Case& c : {Case{0, {"answer 8"}}, Case{1, {"front", "answer 8"}}}) {
        settings.callAcceptToFront = c.callAcceptToFront;
        skype.markRinging(8);
        skype.setPartner(*skype.findCall(8), "bob");
        skype.findCall(8)->armed = true;
        out.take();
        clock.tick = 7000;
        skype.markInProgress(8);
        EXPECT_EQ(out.take(), c.expected);
        EXPECT_EQ(skype.findCall(8)->answerTick, 7000);

        skype.findCall(8)->answeringActive = true;
        skype.markEnded(8);
        EXPECT_EQ(out.take(), Transcript{"end answer 8"});
    }
}

TEST_F(CallTableTest, QqEntriesAreMarkedAsSuchAndNeverAskTheMessenger)
{
    qq.markRinging(2);
    qq.markRouting(3);
    qq.markInProgress(3);
    EXPECT_TRUE(out.take().empty());
    EXPECT_EQ(qq.findCall(2)->flags, 0x8002u);
    EXPECT_EQ(qq.findCall(3)->flags, 0x8001u);
    EXPECT_TRUE(qq.findCall(2)->record.ringTime.isEmpty());
}

TEST(CallTimeText, IsTheLocalDateAndTimeWithZeroPadding)
{
    std::tm t{};
    t.tm_year = 125;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 1;
    EXPECT_STREQ(formatTimeText(t).c_str(), "2025-12-31 23:59:01");
}

}  // namespace
}  // namespace tarnix
