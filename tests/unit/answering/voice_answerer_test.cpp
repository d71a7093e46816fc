// The answering machine around the real Skype client, on the virtual clock: what arms a call,
// what it sends, the record it files, and how it lets go of the call.
#include "answering/voice_answerer.h"

#include "device/handset_codes.h"
#include "messenger_stack.h"
#include "virtual_event_loop.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

namespace tarnix::test {
namespace {

constexpr const char* kPeer = "skype-1";
constexpr std::int64_t kDelayMs = 15000;

// Public: the table cases act on it.
class VoiceAnswererTest : public ::testing::Test {
public:
    void SetUp() override
    {
        stack.wave.outputs = {"Speakers", "Virtual Cable 1 Out"};
        stack.wave.inputs = {"Microphone", "Virtual Cable 2 In"};
        stack.settings.voiceOnline = 1;
        stack.settings.voiceOnlineSecs = 15;
        stack.controller.StartController();
        stack.skype.create();
        transport.attach(kPeer);
        notify("USERS alice");
        notify("USER alice DISPLAYNAME Alice A.");
        // 14:03:07 on 9 August 2005.
        stack.callClock.local = std::tm{};
        stack.callClock.local.tm_year = 105;
        stack.callClock.local.tm_mon = 7;
        stack.callClock.local.tm_mday = 9;
        stack.callClock.local.tm_hour = 14;
        stack.callClock.local.tm_min = 3;
        stack.callClock.local.tm_sec = 7;
        sent();
        stack.log.take();
    }

    void notify(const std::string& text)
    {
        transport.deliver(kPeer, text);
        loop.runPending();
    }
    void ring(int id = 12, const std::string& partner = "alice")
    {
        notify("CALL " + std::to_string(id) + " STATUS RINGING");
        notify("CALL " + std::to_string(id) + " PARTNER_HANDLE " + partner);
    }
    void advance(std::int64_t ms)
    {
        loop.advance(ms);
        stack.callClock.tick += ms;
        loop.runPending();
    }
    // The commands that went out since the last look, without the peer. The link's own look at
    // the active calls, every 30 s of a quiet call, is none of the machine's.
    Transcript sent()
    {
        Transcript lines;
        for (const std::string& line : transport.take()) {
            std::string command = line.substr(std::string(kPeer).size() + 2);
            if (command != "SEARCH ACTIVECALLS") lines.push_back(std::move(command));
        }
        return lines;
    }
    static bool has(const Transcript& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // Rings call 12 and lets the machine take it; the messenger answers the questions it asks.
    void answered()
    {
        ring();
        advance(kDelayMs);
        ASSERT_TRUE(has(sent(), "SET CALL 12 STATUS INPROGRESS"));
        notify("AUDIO_IN Microphone");
        notify("AUDIO_OUT Speakers");
        // Twice, as the messenger says it: its answer to the command, then the notification.
        notify("CALL 12 STATUS INPROGRESS");
        notify("CALL 12 STATUS INPROGRESS");
    }
    std::string messagesFolder() const { return stack.environment.messagesFolder(); }

    VirtualEventLoop loop;
    FakeSkypeTransport transport;
    MessengerStack stack{loop, transport};
};

TEST_F(VoiceAnswererTest, ARingingCallIsTakenOnlyWhenEveryConditionHolds)
{
    struct Case {
        const char* name;
        std::function<void(VoiceAnswererTest&)> before;
        // The delay after which the machine answers; -1 for never.
        std::int64_t answeredAfterMs;
        // Whatever `before` changes happens while the call rings, not before it.
        bool whileRinging = false;
    };
    const std::vector<Case> cases = {
        {"all hold", [](auto&) {}, kDelayMs},
        {"defaults", [](auto& t) { t.stack.settings.voiceOnline = 0; }, -1},
        {"voice answering off", [](auto& t) { t.stack.settings.voiceAnswering = 0; }, -1},
        {"away uses the offline flag and delay",
         [](auto& t) {
             t.stack.settings.voiceOffline = 1;
             t.stack.settings.voiceOfflineSecs = 5;
             t.notify("USERSTATUS AWAY");
         },
         5000},
        {"away with the offline flag off", [](auto& t) { t.notify("USERSTATUS AWAY"); }, -1},
        {"handset lifted", [](auto& t) { t.stack.controller.setHookState(0); }, -1},
        {"no cable 2", [](auto& t) { t.stack.wave.inputs = {"Microphone"}; }, -1},
        {"no cable 1", [](auto& t) { t.stack.wave.outputs = {"Speakers"}; }, -1},
        {"messages folder cannot be made", [](auto& t) { t.stack.folder.write("messages", "a file"); }, -1},
        {"handset lifted while ringing", [](auto& t) { t.stack.controller.setHookState(0); }, -1, true},
        {"cable gone while ringing", [](auto& t) { t.stack.wave.inputs = {"Microphone"}; }, -1, true},
        {"detached while ringing", [](auto& t) { t.transport.failSend(kPeer); }, -1, true},
        {"call ended", [](auto& t) { t.notify("CALL 12 STATUS MISSED"); }, -1, true},
        {"another call went on", [](auto& t) { t.notify("CALL 30 STATUS INPROGRESS"); }, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VoiceAnswererTest& t = *this;
        t.stack.settings = Settings{};
        t.stack.settings.voiceOnline = 1;
        t.stack.settings.voiceOnlineSecs = 15;
        t.stack.wave.outputs = {"Speakers", "Virtual Cable 1 Out"};
        t.stack.wave.inputs = {"Microphone", "Virtual Cable 2 In"};
        t.stack.controller.setHookState(-1);
        if (!c.whileRinging) c.before(t);
        t.ring(12);
        if (c.whileRinging) c.before(t);
        const std::int64_t wait = c.answeredAfterMs < 0 ? kDelayMs : c.answeredAfterMs;
        t.advance(wait - 1);
        EXPECT_FALSE(has(t.sent(), "SET CALL 12 STATUS INPROGRESS"));
        t.advance(1);
        const Transcript out = t.sent();
        EXPECT_EQ(has(out, "SET CALL 12 STATUS INPROGRESS"), c.answeredAfterMs >= 0);
        EXPECT_EQ(has(out, "GET AUDIO_IN"), c.answeredAfterMs >= 0);
        // The call ends; the next case starts attached, with no call and no folder in the way.
        t.notify("CALL 12 STATUS MISSED");
        t.notify("CALL 30 STATUS FINISHED");
        std::remove(t.messagesFolder().substr(0, t.messagesFolder().size() - 1).c_str());
        if (!t.stack.skype.isAttached()) t.transport.attach(kPeer), t.loop.runPending();
        t.notify("USERSTATUS ONLINE");
        t.sent();
    }
}

TEST_F(VoiceAnswererTest, AtMostOneCallIsArmedAndOnlyWhileNoneGoesOn)
{
    stack.settings.voiceOnlineSecs = 10;
    ring(12);
    advance(5000);
    ring(13, "bob");
    advance(5000);
    EXPECT_TRUE(has(sent(), "SET CALL 12 STATUS INPROGRESS"));
    // 13 is due while 12 is armed, not yet in progress.
    advance(5000);
    EXPECT_FALSE(has(sent(), "SET CALL 13 STATUS INPROGRESS"));
    EXPECT_EQ(stack.answerer.armedCall(), 12);
}

TEST_F(VoiceAnswererTest, TheCallKeyOnARingingCallKeepsTheMachineAway)
{
    ring();
    advance(1000);
    stack.skype.onHandsetKey(KeyYes);
    EXPECT_TRUE(has(sent(), "SET CALL 12 STATUS INPROGRESS"));
    advance(kDelayMs);
    EXPECT_FALSE(has(sent(), "GET AUDIO_IN"));
}

TEST_F(VoiceAnswererTest, AnAnsweredCallIsGreetedRecordedAndListed)
{
    stack.settings.voiceBegin = 1;
    stack.settings.voiceBeginText = u"Please speak";
    stack.settings.voiceEnd = 1;
    stack.settings.voiceEndText = u"Thank you";
    stack.settings.newMessageToFront = 1;
    answered();
    EXPECT_EQ(sent(), (Transcript{"SET AUDIO_IN Virtual Cable 1 In", "SET AUDIO_OUT Virtual Cable 2 Out",
                                  "MESSAGE alice Please speak"}));
    const std::string file = messagesFolder() + "alice2005-08-09#14-03-07.mp3";
    EXPECT_TRUE(stack.route.busy());

    advance(42000);
    notify("CALL 12 DURATION 41");
    notify("CALL 12 STATUS FINISHED");
    // Without a handset the messenger gets back what it used before.
    EXPECT_EQ(sent(),
              (Transcript{"MESSAGE alice Thank you", "SET AUDIO_IN Microphone", "SET AUDIO_OUT Speakers"}));
    const Transcript shown = stack.log.take();
    EXPECT_TRUE(has(shown, "record 0 alice"));
    EXPECT_TRUE(has(shown, "front"));
    EXPECT_FALSE(stack.route.busy());

    ASSERT_EQ(stack.settings.records.size(), 1u);
    const MessageRecord& record = stack.settings.records[0];
    EXPECT_STREQ(record.fileName.c_str(), file.c_str());
    EXPECT_STREQ(record.userName.c_str(), "alice");
    EXPECT_STREQ(record.nickName.c_str(), "Alice A.");
    EXPECT_STREQ(record.answerTime.c_str(), "2005-08-09 14:03:07");
    EXPECT_STREQ(record.duration.c_str(), "41");
    EXPECT_TRUE(record.newFlag);
    const std::string config = stack.folder.read("config.xml");
    EXPECT_NE(config.find("<FileName value='" + file + "'/>"), std::string::npos) << config;
    // Nothing reached the recorder: no empty message file is left.
    EXPECT_FALSE(stack.folder.exists("messages/alice2005-08-09#14-03-07.mp3"));
}

TEST_F(VoiceAnswererTest, WithoutADurationTheMeasuredOneIsFiled)
{
    answered();
    advance(7400);
    notify("CALL 12 STATUS FINISHED");
    ASSERT_EQ(stack.settings.records.size(), 1u);
    EXPECT_STREQ(stack.settings.records[0].duration.c_str(), "7");
}

TEST_F(VoiceAnswererTest, TheLengthLimitEndsTheCallAndFilesItIfTheMessengerDoesNot)
{
    struct Case {
        int maxTime;
        std::int64_t limitMs;
    };
    for (const Case c : {Case{0, 600000}, Case{-3, 600000}, Case{2, 120000}, Case{5000, 86400000}}) {
        SCOPED_TRACE(c.maxTime);
        stack.settings.voiceMaxTime = c.maxTime;
        stack.settings.records.clear();
        answered();
        sent();
        advance(c.limitMs - 1);
        EXPECT_TRUE(sent().empty());
        advance(1);
        EXPECT_EQ(sent(), Transcript{"SET CALL 12 STATUS FINISHED"});
        advance(VoiceAnswerer::kFinishGraceMs - 1);
        EXPECT_TRUE(stack.settings.records.empty());
        advance(1);
        EXPECT_EQ(stack.settings.records.size(), 1u);
        EXPECT_FALSE(stack.route.busy());
        // The messenger ends it at last: no second record.
        notify("CALL 12 STATUS FINISHED");
        EXPECT_EQ(stack.settings.records.size(), 1u);
        sent();
    }
}

TEST_F(VoiceAnswererTest, LiftingTheHandsetTakesTheCallOverWithTheHandsetsDevices)
{
    stack.wave.outputs = {"Speakers", "USB Audio Device", "Virtual Cable 1 Out"};
    stack.wave.inputs = {"USB Audio Device", "Virtual Cable 2 In"};
    stack.bus.plug(std::make_shared<sim::VirtualMelodyHandset>());
    loop.runPending();
    stack.controller.OnHandsetKey(HookOn);
    answered();
    sent();
    stack.log.take();

    stack.controller.OnHandsetKey(HookOff);
    loop.runPending();
    const Transcript out = sent();
    EXPECT_TRUE(has(out, "SET AUDIO_OUT USB Audio Device"));
    EXPECT_TRUE(has(out, "SET AUDIO_IN USB Audio Device"));
    EXPECT_FALSE(has(out, "SET CALL 12 STATUS FINISHED"));
    EXPECT_TRUE(has(stack.log.take(), "record 0 alice"));
    EXPECT_FALSE(stack.route.busy());
    EXPECT_EQ(stack.answerer.answeredCall(), 0);

    // The person talks on; the call's end files nothing more.
    notify("CALL 12 STATUS FINISHED");
    EXPECT_EQ(stack.settings.records.size(), 1u);
}

TEST_F(VoiceAnswererTest, AMessageBeingRecordedAtExitIsFiledAndTheCallEnded)
{
    answered();
    sent();
    stack.answerer.finishBeforeExit();
    EXPECT_EQ(stack.settings.records.size(), 1u);
    EXPECT_FALSE(stack.route.busy());
    EXPECT_TRUE(has(sent(), "SET CALL 12 STATUS FINISHED"));
    EXPECT_NE(stack.folder.read("config.xml").find("<UserName value='alice'/>"), std::string::npos);
}

TEST_F(VoiceAnswererTest, ChatTextsHaveTheLargerAreaOfChatCommands)
{
    // "MESSAGE alice " is 14 characters; with the NUL, 1009 more fit in 1024.
    EXPECT_EQ(stack.skype.sendChat(u"alice", std::u16string(1009, u'x')), 1);
    EXPECT_EQ(stack.skype.sendChat(u"alice", std::u16string(1010, u'x')), 0);
    EXPECT_EQ(sent(), Transcript{"MESSAGE alice " + std::string(1009, 'x')});
}

}  // namespace
}  // namespace tarnix::test
