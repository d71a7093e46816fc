#include "app/phone_controller.h"

#include "app/default_device_mover.h"
#include "device/handset_codes.h"
#include "fake_default_sound_devices.h"
#include "fake_messenger_link.h"
#include "fake_wave_devices.h"
#include "handset_test_rig.h"
#include "recording_keys.h"
#include "recording_tray.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

class PhoneControllerTest : public ::testing::Test {
protected:
    PhoneControllerTest()
    {
        defaults.defaults = {{SoundDirection::Playback, "USB Audio Device"},
                             {SoundDirection::Record, "USB Audio Device"}};
    }
    void plugLcdHandset()
    {
        handset = std::make_shared<sim::VirtualLcdHandset>();
        rig.bus.plug(handset);
    }
    std::string lcdText() const { return handset->lcd().text(); }
    Transcript take() { return log.take(); }

    TranscriptLog log;
    HandsetTestRig rig;
    std::shared_ptr<sim::VirtualLcdHandset> handset;
    RecordingTray tray{log};
    FakeMessengerLink skype{"skype", log};
    FakeMessengerLink qq{"qq", log};
    RecordingKeys keys{log};
    FakeWaveDevices wave;
    FakeDefaultSoundDevices defaults;
    DefaultDeviceMover mover{defaults};
    PhoneController controller{{rig.service, tray, skype, qq, keys, wave, mover}};
};

TEST_F(PhoneControllerTest, StartWithoutHandsetShowsNoHandsetAndFollowsPresence)
{
    controller.StartController();
    rig.loop.runPending();
    EXPECT_EQ(take(), Transcript{"tray no handset"});
    EXPECT_EQ(controller.presence(), -1);

    plugLcdHandset();
    rig.ticks(1);
    EXPECT_EQ(controller.presence(), 0);
    EXPECT_EQ(take(), Transcript{"tray no messenger"});
}

TEST_F(PhoneControllerTest, StartWithHandsetShowsClockAndLinkBars)
{
    plugLcdHandset();
    controller.StartController();
    rig.loop.runPending();
    EXPECT_EQ(controller.presence(), 0);
    EXPECT_EQ(handset->lcd().linkBars, 5);
    EXPECT_TRUE(handset->lcd().linkIndicator);
    // No tray state yet: the start-up's status update sets it.
    EXPECT_TRUE(take().empty());

    controller.UpdateStatus();
    EXPECT_EQ(take(), Transcript{"tray no messenger"});
    EXPECT_EQ(handset->lcd().linkBars, 0);
}

TEST_F(PhoneControllerTest, KeysAreRoutedByAttachmentCallsAndPreferredClient)
{
    struct Case {
        const char* name;
        bool skypeAttached, skypeInCall, qqAttached, qqInCall;
        int preferred;
        Transcript receiver;
    };
    const Case cases[] = {
        {"skype call wins whatever the preference", true, true, true, true, 1, {"skype key 5"}},
        {"qq call when skype has none", true, false, true, true, 0, {"qq key 5"}},
        {"preferred skype", true, false, true, false, 0, {"skype key 5"}},
        {"preferred qq and attached", true, false, true, false, 1, {"qq key 5"}},
        {"preferred qq but not attached", true, false, false, false, 1, {"skype key 5"}},
        {"only qq attached", false, false, true, false, 0, {"qq key 5"}},
        {"nobody attached: the keyboard", false, false, false, false, 0, keyPress("5")},
    };
    for (const Case& c : cases) {
        skype.attached = c.skypeAttached;
        skype.inCall = c.skypeInCall;
        qq.attached = c.qqAttached;
        qq.inCall = c.qqInCall;
        if (c.preferred == 1) {
            controller.preferQq();
        } else {
            controller.preferSkype();
        }
        controller.OnHandsetKey(Key5);
        EXPECT_EQ(take(), c.receiver) << c.name;
    }
}

TEST_F(PhoneControllerTest, SubHandlerTakesEveryEventAndPresenceStillUpdatesTheTray)
{
    skype.attached = true;
    skype.inCall = true;
    RecordingSink testDialog;
    controller.SetSubHandler(&testDialog);
    controller.OnHandsetKey(KeyYes);
    controller.OnHandsetPresence(0, 0);
    EXPECT_EQ(testDialog.take(), (std::vector<std::string>{"key Yes", "presence 0"}));
    EXPECT_EQ(take(), Transcript{"tray no handset"});

    controller.SetSubHandler(nullptr);
    controller.OnHandsetKey(KeyYes);
    EXPECT_EQ(take(), Transcript{"skype key Yes"});
}

TEST_F(PhoneControllerTest, WithoutMessengerLiftingPressesEnterAndPuttingDownEscape)
{
    controller.OnHandsetKey(HookOff);
    controller.OnHandsetKey(HookOn);
    controller.OnHandsetKey(HookOff);
    Transcript presses;
    for (const char* key : {"Return", "Escape", "Return"}) {
        const Transcript press = keyPress(key);
        presses.insert(presses.end(), press.begin(), press.end());
    }
    EXPECT_EQ(take(), presses);
    EXPECT_EQ(controller.hookState(), 0);
}

TEST_F(PhoneControllerTest, NumberShowsDigitsAndAnEmptyNumberBringsTheClockBack)
{
    plugLcdHandset();
    controller.StartController();
    rig.loop.runPending();
    controller.showPstnNumber("0123");
    EXPECT_EQ(lcdText(), "0123");

    controller.clearDialled();
    EXPECT_TRUE(handset->lcd().colon) << "the clock is back";
}

TEST_F(PhoneControllerTest, CallActiveLightsIconAndLight)
{
    plugLcdHandset();
    controller.StartController();
    rig.loop.runPending();
    controller.ShowCallActive(1);
    EXPECT_TRUE(handset->lcd().callIcon);
    EXPECT_TRUE(handset->light());
    controller.ShowCallActive(0);
    EXPECT_FALSE(handset->lcd().callIcon);
    EXPECT_FALSE(handset->light());
}

TEST_F(PhoneControllerTest, AttachingSetsUpTheUsbDevicesAndMovesOnlyUsbDefaults)
{
    wave.outputs = {"Virtual Cable 1 Out", "Built-in Audio", "USB Audio Device", "USB Second"};
    wave.inputs = {"USB Audio Device", "Virtual Cable 2 In", "Built-in Mic"};
    defaults.defaults[SoundDirection::Record] = "Built-in Mic";  // the user's own choice: left alone
    plugLcdHandset();
    controller.StartController();
    rig.loop.runPending();
    skype.attached = true;
    controller.UpdateStatus();
    EXPECT_EQ(take(), (Transcript{"tray ready", "skype output USB Audio Device #2",
                                  "qq output USB Audio Device #2", "skype input USB Audio Device"}));
    mover.waitUntilIdle();
    EXPECT_EQ(defaults.moves, Transcript{"default playback Built-in Audio"});
    EXPECT_EQ(handset->lcd().linkBars, 5);
}

TEST_F(PhoneControllerTest, AHandsetSoundDeviceThatComesLaterIsSetUpWhileAMessengerIsAttached)
{
    wave.outputs = {"Built-in Audio"};
    wave.inputs = {"Built-in Mic"};
    controller.OnSoundDevicesChanged();  // no handset yet
    plugLcdHandset();
    controller.StartController();
    rig.loop.runPending();
    controller.OnSoundDevicesChanged();  // no messenger yet
    skype.attached = true;
    controller.UpdateStatus();
    EXPECT_EQ(take(), Transcript{"tray ready"});

    wave.outputs.emplace_back("USB Audio Device");
    wave.inputs.emplace_back("USB Audio Device");
    controller.OnSoundDevicesChanged();
    EXPECT_EQ(take(), (Transcript{"skype output USB Audio Device #1", "qq output USB Audio Device #1",
                                  "skype input USB Audio Device"}));
}

TEST_F(PhoneControllerTest, NoUsbDeviceSendsNoAudioCommands)
{
    wave.outputs = {"Built-in Audio"};
    wave.inputs = {"Built-in Mic"};
    defaults.defaults[SoundDirection::Playback] = "Built-in Audio";
    defaults.defaults[SoundDirection::Record] = "Built-in Mic";
    plugLcdHandset();
    controller.StartController();
    rig.loop.runPending();
    qq.attached = true;
    controller.UpdateStatus();
    EXPECT_EQ(take(), Transcript{"tray ready"});
    mover.waitUntilIdle();
    EXPECT_EQ(defaults.moves, Transcript{});
}

TEST(DialledNumber, HoldsAtMost999CharactersAndATooLongNumberEmptiesIt)
{
    DialledNumber number;
    for (int i = 0; i < 999; ++i) ASSERT_TRUE(number.append('1'));
    EXPECT_FALSE(number.append('2'));
    EXPECT_EQ(number.length(), 999);
    EXPECT_EQ(std::string(number.c_str()).size(), 999u);

    EXPECT_FALSE(number.assign(std::string(999, '3')));
    EXPECT_EQ(number.length(), 0);
    EXPECT_TRUE(number.assign(std::string(998, '3')));
    number.removeLast();
    EXPECT_EQ(number.length(), 997);
}

}  // namespace
}  // namespace tarnix::test
