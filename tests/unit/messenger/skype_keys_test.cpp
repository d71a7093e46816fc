#include "skype_fixture.h"

#include "device/handset_codes.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarnix::test {
namespace {

constexpr std::int64_t kOtherPid = 77;

// An attached client with a handset whose hook state is known (lifted); keys go straight to
// the Skype client's key mapping.
class SkypeKeys : public AttachedSkype<> {
protected:
    enum class Call { None, Ringing, InProgress, Outgoing };

    void SetUp() override
    {
        AttachedSkype::SetUp();
        stack.controller.setHookState(0);
        forget();
    }
    void setCall(Call call)
    {
        if (call == Call::Ringing) notify("CALL 123 STATUS RINGING");
        if (call == Call::InProgress) notify("CALL 123 STATUS INPROGRESS");
        if (call == Call::Outgoing) {
            notify("CALL 123 STATUS ROUTING");
            notify("CALL 123 STATUS RINGING");
        }
        forget();
    }
    // Presses the key and lets every held-back command go out.
    void press(int code)
    {
        stack.skype.onHandsetKey(code);
        loop.advance(SkypeKeyHandler::kButtonHoldMs);
    }
    // The commands that went out since the last look, without the peer.
    Transcript sent()
    {
        Transcript out;
        for (const std::string& line : transport.take())
            out.push_back(line.substr(std::string("sk: ").size()));
        return out;
    }
    std::string dialled() { return stack.controller.dialledNumber().c_str(); }

    // The messenger's main form with its entry box; returns the form.
    WindowId addMainForm(bool visible = true, bool minimised = false)
    {
        const WindowId form = stack.windows.add({MessengerStack::kMessengerPid, "tSkMainForm.UnicodeClass",
                                                 "Skype - alice", 0, 0, visible, minimised});
        entryBox = stack.windows.add({MessengerStack::kMessengerPid, "Edit", "", form, 0, true, false});
        return form;
    }
    WindowId addPopup(WindowId owner)
    {
        return stack.windows.add({MessengerStack::kMessengerPid, "TChatForm", "chat", 0, owner, true, false});
    }

    WindowId entryBox = 0;
};

TEST_F(SkypeKeys, EachKeySendsItsCommandsInOrderForTheCallState)
{
    struct Case {
        const char* what;
        Call call;
        int key;
        Transcript commands;
        // Tones, the volume panel and the light.
        Transcript around;
        std::string dialled;
    };
    // clang-format off
    const Case cases[] = {
        {"digit outside a call", Call::None, Key5, {"FOCUS", "BTN_PRESSED 5", "BTN_RELEASED 5"}, {"key tone 5"}, "5"},
        {"zero outside a call", Call::None, Key0, {"FOCUS", "BTN_PRESSED 0", "BTN_RELEASED 0"}, {"key tone 0"}, "0"},
        {"digit in a call", Call::InProgress, Key5,
         {"FOCUS", "BTN_PRESSED 5", "BTN_RELEASED 5", "SET CALL 123 DTMF 5"}, {}, "5"},
        {"digit while a call only rings", Call::Ringing, Key7, {"FOCUS", "BTN_PRESSED 7", "BTN_RELEASED 7"}, {}, "7"},
        {"star outside a call", Call::None, KeyStar, {"FOCUS", "BTN_PRESSED SKYPE", "BTN_RELEASED SKYPE"},
         {"tone 147"}, ""},
        {"star in a call", Call::InProgress, KeyStar,
         {"FOCUS", "BTN_PRESSED *", "BTN_RELEASED *", "SET CALL 123 DTMF *"}, {}, "*"},
        {"hash outside a call", Call::None, KeyHash, {"FOCUS", "BTN_PRESSED +", "BTN_RELEASED +"}, {"tone 147"}, "+"},
        {"hash in a call", Call::InProgress, KeyHash,
         {"FOCUS", "BTN_PRESSED #", "BTN_RELEASED #", "SET CALL 123 DTMF #"}, {}, "#"},
        {"up in a call", Call::InProgress, KeyUp, {}, {"volume shown", "volume up"}, ""},
        {"down in a call", Call::InProgress, KeyDown, {}, {"volume shown", "volume down"}, ""},
        {"up outside a call", Call::None, KeyUp, {"FOCUS", "BTN_PRESSED UP", "BTN_RELEASED UP"}, {"tone 147"}, ""},
        {"down while ringing", Call::Ringing, KeyDown, {"FOCUS", "BTN_PRESSED DOWN", "BTN_RELEASED DOWN"},
         {"tone 147"}, ""},
        {"yes while a call rings", Call::Ringing, KeyYes, {"SET CALL 123 STATUS INPROGRESS"}, {"tone 147"}, ""},
        {"yes while our own call rings", Call::Outgoing, KeyYes, {"FOCUS"}, {"tone 147"}, ""},
        {"mute in a call", Call::InProgress, KeyMute, {"Set MUTE ON", "GET MUTE"}, {"tone 147"}, ""},
        {"mute outside a call", Call::None, KeyMute, {}, {"light 0"}, ""},
        {"delete", Call::None, KeyDelete, {}, {"tone 147"}, ""},
        {"no", Call::None, KeyNo, {"BTN_PRESSED NO", "BTN_RELEASED NO"}, {"tone 147"}, ""},
        {"unknown code", Call::InProgress, KeyNone, {}, {}, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setCall(c.call);
        press(c.key);
        EXPECT_EQ(sent(), c.commands);
        EXPECT_EQ(stack.log.take(), c.around);
        EXPECT_EQ(dialled(), c.dialled);
        notify("CALL 123 STATUS FINISHED");
        stack.controller.clearDialled();
        forget();
    }
}

TEST_F(SkypeKeys, MuteAsksForTheOppositeOfTheLastKnownState)
{
    setCall(Call::InProgress);
    notify("MUTE ON");
    forget();
    press(KeyMute);
    EXPECT_EQ(sent(), (Transcript{"SET MUTE OFF", "GET MUTE"}));
    // Only the answer changes the state.
    EXPECT_EQ(stack.skype.muteState(), SkypeClient::Muted);
    notify("MUTE OFF");
    press(KeyMute);
    EXPECT_EQ(sent(), (Transcript{"Set MUTE ON", "GET MUTE"}));
}

TEST_F(SkypeKeys, TheHandsetAnswersACallTakesItsDigitsAndHangsUp)
{
    // Whatever the handset reports first only tells where it is.
    const auto act = [&](auto step) {
        step();
        loop.advance(50);
    };
    stack.controller.setHookState(-1);
    act([&] { handset->lift(); });
    act([&] { handset->replace(); });
    EXPECT_EQ(sent(), Transcript{});
    notify("CALL 124 STATUS RINGING");
    notify("CALL 123 STATUS RINGING");
    forget();

    act([&] { handset->lift(); });
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "HOOK OFF"}));
    act([&] { handset->press(KeyYes); });
    act([&] { handset->release(); });
    // The first ringing call, even when several ring.
    EXPECT_EQ(sent(), (Transcript{"SET CALL 123 STATUS INPROGRESS"}));
    notify("CALL 123 STATUS INPROGRESS");
    forget();

    act([&] { handset->press(Key5); });
    act([&] { handset->release(); });
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "BTN_PRESSED 5", "BTN_RELEASED 5", "SET CALL 123 DTMF 5"}));
    EXPECT_EQ(dialled(), "5");
    act([&] { handset->replace(); });
    EXPECT_EQ(sent(), (Transcript{"HOOK ON"}));
    EXPECT_EQ(dialled(), "");
}

TEST_F(SkypeKeys, ReleaseFollowsTenMillisecondsLaterWithoutHoldingTheLoopAndKeepsTheOrder)
{
    setCall(Call::InProgress);
    stack.skype.onHandsetKey(Key5);
    stack.skype.onHandsetKey(Key6);
    // Commands from elsewhere wait their turn as well.
    stack.skype.sendCommand("GET MUTE");
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "BTN_PRESSED 5"}));
    // Both digits are shown at once; only the commands wait.
    EXPECT_EQ(dialled(), "56");

    loop.advance(SkypeKeyHandler::kButtonHoldMs - 1);
    EXPECT_TRUE(sent().empty());
    loop.advance(1);
    EXPECT_EQ(sent(), (Transcript{"BTN_RELEASED 5", "SET CALL 123 DTMF 5", "FOCUS", "BTN_PRESSED 6"}));
    loop.advance(SkypeKeyHandler::kButtonHoldMs);
    EXPECT_EQ(sent(), (Transcript{"BTN_RELEASED 6", "SET CALL 123 DTMF 6", "GET MUTE"}));

    stack.skype.sendCommand("GET MUTE");
    EXPECT_EQ(sent(), (Transcript{"GET MUTE"}));
}

TEST_F(SkypeKeys, AReleaseDueAfterTheMessengerHasGoneIsLost)
{
    stack.skype.onHandsetKey(Key1);
    transport.failSend("sk");
    loop.advance(SkypeKeyHandler::kButtonHoldMs);
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "BTN_PRESSED 1"}));
}

TEST_F(SkypeKeys, TheDialledNumberStopsAt999ButTheDigitsStillGoOut)
{
    const DialledNumber& number = stack.controller.dialledNumber();
    stack.controller.showPstnNumber(std::string(998, '1'));
    press(Key2);
    press(Key3);
    EXPECT_EQ(number.length(), 999);
    EXPECT_EQ(number.c_str()[998], '2');
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "BTN_PRESSED 2", "BTN_RELEASED 2", "FOCUS", "BTN_PRESSED 3",
                                  "BTN_RELEASED 3"}));

    press(KeyDelete);
    EXPECT_EQ(number.length(), 998);
    stack.controller.clearDialled();
    // An empty number still sends the Backspace.
    addMainForm();
    press(KeyDelete);
    EXPECT_EQ(number.length(), 0);
    EXPECT_EQ(stack.windows.actions, (Transcript{"key " + std::to_string(entryBox) + " Backspace"}));
}

TEST_F(SkypeKeys, OnlyAChangeOfTheHookAfterTheFirstEventIsSent)
{
    const WindowId form = addMainForm(false);
    const WindowId popup = addPopup(form);
    stack.controller.setHookState(-1);
    press(HookOn);
    EXPECT_EQ(stack.controller.hookState(), 1);
    EXPECT_TRUE(sent().empty());
    press(HookOn);
    EXPECT_TRUE(sent().empty());
    press(HookOff);
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "HOOK OFF"}));
    press(HookOff);
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(stack.windows.actions.empty());

    stack.controller.showPstnNumber("555");
    press(HookOn);
    EXPECT_EQ(sent(), (Transcript{"HOOK ON"}));
    EXPECT_EQ(dialled(), "");
    // The main window closes even when hidden.
    const std::string box = std::to_string(entryBox);
    EXPECT_EQ(stack.windows.actions,
              (Transcript{"close " + std::to_string(popup), "key " + box + " SelectAll",
                          "key " + box + " Backspace", "close " + std::to_string(form)}));

    stack.controller.setHookState(-1);
    press(HookOff);
    EXPECT_EQ(stack.controller.hookState(), 0);
    EXPECT_TRUE(sent().empty());
}

TEST_F(SkypeKeys, NoClosesThePopupOrTheShownMainWindowElseHandsOverToTheOtherClient)
{
    struct Case {
        const char* what;
        bool mainForm;
        bool visible;
        bool minimised;
        bool popup;
        // Which window closes: 'p' the pop-up, 'm' the main window, '-' none.
        char closes;
    };
    const Case cases[] = {
        {"pop-up over the main window", true, true, false, true, 'p'},
        {"pop-up over a hidden main window", true, false, false, true, 'p'},
        {"main window shown", true, true, false, false, 'm'},
        {"main window minimised", true, true, true, false, '-'},
        {"main window hidden", true, false, false, false, '-'},
        {"no window at all", false, false, false, false, '-'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeSkypeTransport carrier;
        MessengerStack fresh{loop, carrier};
        FakeWindowSystem& windows = fresh.windows;
        carrier.attach("sk");
        loop.runPending();
        WindowId form = 0;
        WindowId box = 0;
        WindowId popup = 0;
        if (c.mainForm) {
            form = windows.add({MessengerStack::kMessengerPid, "tSkMainForm.UnicodeClass", "Skype - alice", 0,
                                0, c.visible, c.minimised});
            box = windows.add({MessengerStack::kMessengerPid, "Edit", "", form, 0, true, false});
            // Another program's pop-up is none of ours.
            windows.add({kOtherPid, "TChatForm", "chat", 0, form, true, false});
        }
        if (c.popup)
            popup = windows.add({MessengerStack::kMessengerPid, "TChatForm", "chat", 0, form, true, false});
        fresh.controller.showPstnNumber("12");
        carrier.take();

        fresh.skype.onHandsetKey(KeyNo);
        loop.advance(SkypeKeyHandler::kButtonHoldMs);

        EXPECT_EQ(carrier.take(), (Transcript{"sk: BTN_PRESSED NO", "sk: BTN_RELEASED NO"}));
        EXPECT_EQ(fresh.controller.dialledNumber().length(), 0);
        Transcript expected;
        if (box != 0) {
            expected = {"key " + std::to_string(box) + " SelectAll",
                        "key " + std::to_string(box) + " Backspace"};
        }
        if (c.closes != '-') expected.push_back("close " + std::to_string(c.closes == 'p' ? popup : form));
        EXPECT_EQ(windows.actions, expected);
        EXPECT_EQ(fresh.controller.preferredClient(), c.closes == '-' ? 1 : 0);
    }
}

TEST_F(SkypeKeys, YesWithoutARingingCallWorksOnTheWindows)
{
    press(KeyYes);
    EXPECT_EQ(sent(), (Transcript{"FOCUS"}));

    const WindowId form = addMainForm();
    press(KeyYes);
    EXPECT_EQ(sent(), (Transcript{"FOCUS", "BTN_PRESSED YES", "BTN_RELEASED YES"}));

    stack.windows.at(form).minimised = true;
    const WindowId popup = addPopup(form);
    press(KeyYes);
    EXPECT_EQ(sent(), (Transcript{"FOCUS"})) << "the pop-up is hidden with its minimised owner";

    stack.windows.at(form).minimised = false;
    press(KeyYes);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(stack.windows.actions, (Transcript{"close " + std::to_string(popup)}));
}

TEST_F(SkypeKeys, UpOutsideACallTabsOutOfTheEntryBox)
{
    addMainForm();
    press(KeyUp);
    const std::string box = std::to_string(entryBox);
    EXPECT_EQ(stack.windows.actions, (Transcript{"focus " + box, "key " + box + " Tab"}));
}

TEST_F(SkypeKeys, EveryAttachSearchesTheMainWindowAgain)
{
    addMainForm();
    ASSERT_NE(stack.skypeWindows.findMainWindow(), 0u);
    transport.attach("sk2");
    loop.runPending();
    EXPECT_EQ(stack.skypeWindows.mainWindow(), 0u);
}

TEST_F(SkypeKeys, CommandsThatDoNotFitTheirAreaAreRefusedWhole)
{
    // Names are asked for only when both requests fit in 100 bytes with their NUL.
    const std::string fits(78, 'h');
    const std::string tooLong(79, 'h');
    notify("USERS " + fits + ", " + tooLong);
    EXPECT_EQ(sent(), (Transcript{"GET USER " + fits + " FULLNAME", "GET USER " + fits + " DISPLAYNAME"}));
    EXPECT_EQ(stack.skype.friends().records().size(), 2u);

    // Device names count in UTF-16 units, not bytes.
    std::string accented;
    for (int i = 0; i < 85; ++i) accented += "\xC3\xA9";
    stack.skype.useHandsetOutput(accented, 0);
    EXPECT_EQ(sent(), (Transcript{"SET AUDIO_OUT " + accented, "SET RINGER " + accented}));
    stack.skype.useHandsetOutput(std::string(86, 'x'), 0);
    EXPECT_EQ(sent(), (Transcript{"SET RINGER " + std::string(86, 'x')}));
    stack.skype.useHandsetInput(std::string(87, 'x'));
    EXPECT_TRUE(sent().empty());

    EXPECT_EQ(stack.skype.sendNarrow(std::string(99, 'x')), 1);
    EXPECT_EQ(stack.skype.sendNarrow(std::string(100, 'x')), 0);
    EXPECT_EQ(sent(), (Transcript{std::string(99, 'x')}));
}

}  // namespace
}  // namespace tarnix::test
