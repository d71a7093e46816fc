#include "skype_fixture.h"

#include "answering/voice_answering.h"
#include "device/handset_codes.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>

namespace tarnix::test {
namespace {

const Transcript kStartCommands = {"alice-1: GET SKYPEVERSION", "alice-1: SEARCH FRIENDS",
                                   "alice-1: SEARCH ACTIVECALLS"};

class SkypeClientTest : public SkypeFixture<> {
protected:
    void tick() { loop.advance(SkypeClient::kWatchPeriodMs); }
    void say(const std::string& peer, const char* text)
    {
        transport.deliver(peer, text);
        loop.runPending();
    }
    // alice-1 attached with call 12 in progress.
    void callInProgress()
    {
        attach("alice-1");
        say("alice-1", "CALL 12 STATUS RINGING");
        say("alice-1", "CALL 12 STATUS INPROGRESS");
        ASSERT_TRUE(stack.skype.inCall());
        forget();
    }
    // The call table and the handset show no call: the light stays off a blink period later.
    void expectNoCall()
    {
        EXPECT_FALSE(stack.skype.inCall());
        EXPECT_EQ(stack.skype.calls().size(), 0u);
        loop.advance(1000);
        EXPECT_FALSE(handset->light());
    }
    // The next incoming call rings and is not refused.
    void expectNextCallRings(const std::string& peer)
    {
        transport.take();
        say(peer, "CALL 30 STATUS RINGING");
        loop.advance(100);  // the melody waits out the ringer's settle time
        EXPECT_TRUE(handset->ringing());
        for (const std::string& sent : transport.take())
            EXPECT_EQ(sent.find("STATUS FINISHED"), std::string::npos) << sent;
    }
};

TEST_F(SkypeClientTest, AttachSendsTheStartCommandsThenShowsTheConnection)
{
    EXPECT_EQ(transport.discovers, 1);
    // Handled from the mailbox, not inside the carrier's call.
    transport.attach("alice-1");
    EXPECT_FALSE(stack.skype.isAttached());
    loop.runPending();

    EXPECT_EQ(stack.skype.apiWindow(), "alice-1");
    EXPECT_EQ(transport.take(), kStartCommands);
    EXPECT_EQ(stack.log.take(), (Transcript{"tray ready", "status Connected with Skype / Skype is online"}));
}

TEST_F(SkypeClientTest, ApiAvailableDiscoversAtOnceAndOtherStatusesWaitForTheTick)
{
    transport.attach("", AttachApiAvailable);
    loop.runPending();
    EXPECT_EQ(transport.discovers, 2);

    transport.attach("alice-1", 2);
    loop.runPending();
    EXPECT_EQ(transport.discovers, 2);
    EXPECT_FALSE(stack.skype.isAttached());
    EXPECT_TRUE(stack.log.take().empty());

    tick();
    EXPECT_EQ(transport.discovers, 3);
}

TEST_F(SkypeClientTest, AttachToANewMessengerEmptiesTheFriendsAndStartsAgain)
{
    attach("alice-1");
    transport.deliver("alice-1", "USERS bob");
    loop.runPending();
    ASSERT_EQ(stack.skype.friends().records().size(), 1u);
    transport.take();

    attach("alice-2");
    EXPECT_EQ(stack.skype.apiWindow(), "alice-2");
    EXPECT_TRUE(stack.skype.friends().records().empty());
    EXPECT_EQ(transport.take(), (Transcript{"alice-2: GET SKYPEVERSION", "alice-2: SEARCH FRIENDS",
                                            "alice-2: SEARCH ACTIVECALLS"}));
}

TEST_F(SkypeClientTest, VanishedMessengerIsNoticedWithinOneTickAndLookedForOnTheNext)
{
    attach("alice-1");
    stack.log.take();
    const int discovers = transport.discovers;
    tick();
    EXPECT_TRUE(stack.skype.isAttached());

    transport.alive.clear();
    tick();
    EXPECT_FALSE(stack.skype.isAttached());
    EXPECT_EQ(stack.log.take(),
              (Transcript{"tray no messenger", "status Disconnected with Skype / Skype is offline"}));
    EXPECT_EQ(transport.discovers, discovers);
    tick();
    EXPECT_EQ(transport.discovers, discovers + 1);
}

TEST_F(SkypeClientTest, UndeliveredCommandDetachesQuietlyAndTheTickTellsTheUserThenRediscovers)
{
    attach("alice-1");
    stack.log.take();
    transport.take();

    // A late failure for a messenger we no longer talk to changes nothing.
    transport.failSend("alice-0");
    EXPECT_TRUE(stack.skype.isAttached());

    transport.failSend("alice-1");
    EXPECT_FALSE(stack.skype.isAttached());
    EXPECT_TRUE(stack.log.take().empty());
    EXPECT_EQ(stack.skype.sendCommand("GET MUTE"), 0);
    EXPECT_TRUE(transport.take().empty());

    // The next tick both tells the user and looks for the messenger again.
    const int discovers = transport.discovers;
    tick();
    EXPECT_EQ(stack.log.take(),
              (Transcript{"tray no messenger", "status Disconnected with Skype / Skype is offline"}));
    EXPECT_EQ(transport.discovers, discovers + 1);
    tick();
    EXPECT_EQ(transport.discovers, discovers + 2);
    EXPECT_TRUE(stack.log.take().empty());
}

TEST_F(SkypeClientTest, CallsOfAMessengerThatWentEndWithItAndTheNextMessengersCallRings)
{
    ASSERT_NO_FATAL_FAILURE(callInProgress());

    // A link that failed and came back to the same messenger keeps its call.
    transport.failSend("alice-1");
    tick();
    attach("alice-1");
    EXPECT_TRUE(stack.skype.inCall());
    EXPECT_EQ(stack.skype.calls().firstInProgressId(), 12);

    // The messenger goes: its call is over, the handset shows so at once.
    transport.alive.clear();
    tick();
    expectNoCall();

    // Also when a new messenger attaches before the old one was seen to go.
    attach("alice-2");
    say("alice-2", "CALL 7 STATUS RINGING");
    say("alice-2", "CALL 7 STATUS INPROGRESS");
    transport.failSend("alice-2");
    attach("alice-3");
    EXPECT_FALSE(stack.skype.inCall());
    expectNextCallRings("alice-3");
}

TEST_F(SkypeClientTest, CallsOfAMessengerThatExitsAfterACommandFailedEndWithIt)
{
    ASSERT_NO_FATAL_FAILURE(callInProgress());
    transport.failSend("alice-1");
    tick();
    EXPECT_TRUE(stack.skype.inCall());

    transport.alive.clear();
    tick();
    expectNoCall();
}

// The end of a call said while the link was down (a stalled messenger timed a command out) is
// learnt from the messenger's list of active calls, asked for at every attach.
TEST_F(SkypeClientTest, AnEndMissedWhileDetachedIsTakenFromTheActiveCallsAtReattach)
{
    ASSERT_NO_FATAL_FAILURE(callInProgress());
    transport.failSend("alice-1");
    say("alice-1", "CALL 12 STATUS FINISHED");
    EXPECT_TRUE(stack.skype.inCall());

    tick();
    attach("alice-1");
    EXPECT_EQ(transport.take(), kStartCommands);
    say("alice-1", "CALLS ");
    expectNoCall();
    expectNextCallRings("alice-1");
}

TEST_F(SkypeClientTest, TheActiveCallsListEndsOnlyTheCallsItDoesNotName)
{
    ASSERT_NO_FATAL_FAILURE(callInProgress());
    say("alice-1", "CALL 15 STATUS RINGING");
    ASSERT_EQ(transport.take(),
              (Transcript{"alice-1: GET CALL 15 PARTNER_HANDLE", "alice-1: SET CALL 15 STATUS FINISHED"}));
    stack.log.take();

    // Call 15's end was lost; call 12 goes on undisturbed.
    say("alice-1", "CALLS 12");
    EXPECT_EQ(stack.skype.calls().size(), 1u);
    EXPECT_EQ(stack.skype.calls().firstInProgressId(), 12);
    EXPECT_TRUE(stack.skype.inCall());
    say("alice-1", "CALLS 12, 15");
    EXPECT_EQ(stack.skype.calls().size(), 1u);
    EXPECT_TRUE(stack.log.take().empty());

    // Texts from another connection are no list of ours.
    say("mallory-7", "CALLS ");
    EXPECT_TRUE(stack.skype.inCall());
    say("alice-1", "CALLS 3,4");
    expectNoCall();
}

// A call that ended with a word we do not know as final is found out by asking again once no
// call notification has come for a while; an idle client never asks.
TEST_F(SkypeClientTest, AQuietCallIsCheckedAgainstTheActiveCallsEveryThirtySeconds)
{
    const auto asked = [&] {
        const Transcript sent = transport.take();
        return std::count(sent.begin(), sent.end(), "alice-1: SEARCH ACTIVECALLS");
    };
    attach("alice-1");
    transport.take();
    loop.advance(120000);
    EXPECT_EQ(asked(), 0);

    say("alice-1", "CALL 12 STATUS RINGING");
    say("alice-1", "CALL 12 STATUS INPROGRESS");
    loop.advance(20000);
    // Any call notification puts the question off.
    say("alice-1", "CALL 12 DURATION 20");
    say("alice-1", "CALL 12 STATUS CANCELLED");
    loop.advance(29999);
    EXPECT_EQ(asked(), 0);
    loop.advance(1);
    EXPECT_EQ(asked(), 1);
    say("alice-1", "CALLS 12");
    loop.advance(30000);
    EXPECT_EQ(asked(), 1);

    say("alice-1", "CALLS ");
    expectNoCall();
    loop.advance(120000);
    EXPECT_EQ(asked(), 0);
    expectNextCallRings("alice-1");
}

TEST_F(SkypeClientTest, CommandThatCannotGoOutDetaches)
{
    attach("alice-1");
    transport.sendsGoOut = false;
    EXPECT_EQ(stack.skype.sendCommand("GET MUTE"), 0);
    EXPECT_FALSE(stack.skype.isAttached());
}

TEST_F(SkypeClientTest, TextsAreCheckedForSizeAndSender)
{
    attach("alice-1");
    struct Case {
        const char* sender;
        std::size_t size;
        bool taken;
    };
    const Case cases[] = {
        {"alice-1", 16383, true},
        {"alice-1", 16384, false},
        {"alice-1", 20000, false},
        {"mallory-7", 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string prefix = "SKYPEVERSION ";
        const std::string text = prefix + std::string(c.size - prefix.size(), 'v');
        transport.deliver("alice-1", "SKYPEVERSION old");
        loop.runPending();
        transport.deliver(c.sender, text);
        loop.runPending();
        EXPECT_EQ(stack.skype.skypeVersion().length(),
                  c.taken ? static_cast<int>(c.size - prefix.size()) : 3);
    }
    transport.deliver("alice-1", "");
    EXPECT_EQ(loop.pendingTasks(), 0u);
    EXPECT_EQ(stack.skype.onNotification("mallory-7", "MUTE ON"), 0);
    EXPECT_EQ(stack.skype.onNotification("alice-1", "MUTE ON"), 1);
}

TEST_F(SkypeClientTest, HandsetSoundDevicesAreNamedToTheMessengerWhenAttached)
{
    stack.wave.outputs = {"Speakers", "USB Audio Device"};
    stack.wave.inputs = {"USB Audio Device"};
    attach("alice-1");
    EXPECT_EQ(transport.take(),
              (Transcript{"alice-1: GET SKYPEVERSION", "alice-1: SEARCH FRIENDS",
                          "alice-1: SEARCH ACTIVECALLS", "alice-1: SET AUDIO_OUT USB Audio Device",
                          "alice-1: SET RINGER USB Audio Device", "alice-1: SET AUDIO_IN USB Audio Device"}));
    EXPECT_EQ(stack.skype.sendCommandWide(u"MESSAGE bob gr\u00fc\u00df"), 1);
    EXPECT_EQ(transport.take(), Transcript{"alice-1: MESSAGE bob gr\xc3\xbc\xc3\x9f"});
}

struct RecordingAnswering final : VoiceAnswering {
    void startVoiceAnswering(CallEntry&) override {}
    void endVoiceAnswering(CallEntry&) override {}
    void startAnswering(const std::u16string& greeting, const std::u16string& path) override
    {
        requests.push_back("start " + std::string(greeting.begin(), greeting.end()) + " " +
                           std::string(path.begin(), path.end()));
    }
    void stopAnswering() override { requests.push_back("stop"); }
    void ringingStarted(CallEntry&) override {}
    bool userTakesCall() override { return false; }
    void noteAudioDevice(bool, const std::u16string&) override {}
    void finishBeforeExit() override {}
    Transcript requests;
};

TEST(SkypeMailbox, AnsweringRequestsFromAnyThreadAreHandledOnTheLoop)
{
    VirtualEventLoop loop;
    FakeSkypeTransport transport;
    MessengerStack stack{loop, transport};
    RecordingAnswering answering;
    SkypeClient client({loop, transport, stack.controller, stack.service.channel(), stack.around,
                        stack.settings, stack.callClock, stack.skypeWindows, stack.around, &answering});
    stack.settings.greetingFile = u"hello.wav";

    std::thread other([&] {
        client.postAnsweringRequest(SkypeClient::RequestStartAnswering, u"messages/a.mp3");
        client.postAnsweringRequest(SkypeClient::RequestStopAnswering);
        client.postAnsweringRequest(7);
    });
    other.join();
    EXPECT_TRUE(answering.requests.empty());
    loop.runPending();
    EXPECT_EQ(answering.requests, (Transcript{"start hello.wav messages/a.mp3", "stop"}));
}

TEST(QqClient, IsNeverAttachedHasNoCallsAndTakesNothing)
{
    VirtualEventLoop loop;
    FakeSkypeTransport transport;
    MessengerStack stack{loop, transport};
    stack.controller.StartController();
    EXPECT_FALSE(stack.qq.isAttached());
    EXPECT_FALSE(stack.qq.callInProgress());
    EXPECT_EQ(stack.qq.sendCommand("anything"), 0);
    stack.qq.useHandsetOutput("USB Audio Device", 1);
    EXPECT_EQ(stack.qq.calls().size(), 0u);
    EXPECT_EQ(QqClient::kMessageNames[1], std::string("WM_QQAPI_REGISTER_RESP"));

    // Without Skype, keys go to the keyboard, never to QQ, whatever the preference.
    stack.controller.preferQq();
    stack.log.take();
    stack.controller.OnHandsetKey(KeyYes);
    EXPECT_EQ(stack.log.take(), keyPress("Return"));
}

}  // namespace
}  // namespace tarnix::test
