#include "app/phone_controller.h"

#include "app/default_device_mover.h"
#include "app/key_injector.h"
#include "app/messenger_link.h"
#include "app/tray_status.h"
#include "device/handset_codes.h"
#include "fake_wave_devices.h"
#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

// Everything the controller tells the outside world, in order, as one transcript.
using Transcript = std::vector<std::string>;

class RecordingTray final : public TrayStatus {
public:
    explicit RecordingTray(Transcript& log) : log_(log) {}
    void TrayShowReady() override { log_.push_back("tray ready"); }
    void TrayShowNoHandset() override { log_.push_back("tray no handset"); }
    void TrayShowNoMessenger() override { log_.push_back("tray no messenger"); }

private:
    Transcript& log_;
};

class FakeMessenger final : public MessengerLink {
public:
    FakeMessenger(std::string name, Transcript& log) : name_(std::move(name)), log_(log) {}
    bool isAttached() const override { return attached; }
    bool callInProgress() const override { return inCall; }
    void onHandsetKey(int code) override { log_.push_back(name_ + " key " + std::to_string(code)); }
    void useHandsetOutput(const std::string& device, int id) override
    {
        log_.push_back(name_ + " output " + device + " #" + std::to_string(id));
    }
    void useHandsetInput(const std::string& device) override { log_.push_back(name_ + " input " + device); }

    bool attached = false;
    bool inCall = false;

private:
    std::string name_;
    Transcript& log_;
};

class RecordingKeys final : public KeyInjector {
public:
    explicit RecordingKeys(Transcript& log) : log_(log) {}
    void keyDown(int key) override { log_.push_back("down " + std::to_string(key)); }
    void keyUp(int) override {}
    void pause(int) override {}

private:
    Transcript& log_;
};

// Used from the mover's thread: the test reads its moves once the mover is idle.
class FakeDefaults final : public DefaultSoundDevices {
public:
    bool open() override { return true; }
    std::string currentDefault(SoundDirection d) override
    {
        return d == SoundDirection::Playback ? playback : record;
    }
    bool setDefault(SoundDirection d, const std::string& name) override
    {
        moves.push_back(std::string(d == SoundDirection::Playback ? "default playback " : "default record ") +
                        name);
        return true;
    }
    std::string playback = "USB Audio Device";
    std::string record = "USB Audio Device";
    Transcript moves;
};

class PhoneControllerTest : public ::testing::Test {
protected:
    void plugLcdHandset()
    {
        handset = std::make_shared<sim::VirtualLcdHandset>();
        rig.bus.plug(handset);
    }
    std::string lcdText() const { return handset->lcd().text(); }
    Transcript take() { return std::exchange(log, {}); }

    Transcript log;
    HandsetTestRig rig;
    std::shared_ptr<sim::VirtualLcdHandset> handset;
    RecordingTray tray{log};
    FakeMessenger skype{"skype", log};
    FakeMessenger qq{"qq", log};
    RecordingKeys keys{log};
    FakeWaveDevices wave;
    FakeDefaults defaults;
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
        const char* receiver;
    };
    const Case cases[] = {
        {"skype call wins whatever the preference", true, true, true, true, 1, "skype key 5"},
        {"qq call when skype has none", true, false, true, true, 0, "qq key 5"},
        {"preferred skype", true, false, true, false, 0, "skype key 5"},
        {"preferred qq and attached", true, false, true, false, 1, "qq key 5"},
        {"preferred qq but not attached", true, false, false, false, 1, "skype key 5"},
        {"only qq attached", false, false, true, false, 0, "qq key 5"},
        {"nobody attached: the keyboard", false, false, false, false, 0, "down 53"},
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
        EXPECT_EQ(take(), Transcript{c.receiver}) << c.name;
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
    EXPECT_EQ(testDialog.take(), (std::vector<std::string>{"key 50", "presence 0"}));
    EXPECT_EQ(take(), Transcript{"tray no handset"});

    controller.SetSubHandler(nullptr);
    controller.OnHandsetKey(KeyYes);
    EXPECT_EQ(take(), Transcript{"skype key 50"});
}

TEST_F(PhoneControllerTest, WithoutMessengerLiftingPressesEnterAndPuttingDownEscape)
{
    controller.OnHandsetKey(HookOff);
    controller.OnHandsetKey(HookOn);
    controller.OnHandsetKey(HookOff);
    EXPECT_EQ(take(), (Transcript{"down 13", "down 27", "down 13"}));
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
    defaults.record = "Built-in Mic";  // the user's own choice: left alone
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

TEST_F(PhoneControllerTest, NoUsbDeviceSendsNoAudioCommands)
{
    wave.outputs = {"Built-in Audio"};
    wave.inputs = {"Built-in Mic"};
    defaults.playback = "Built-in Audio";
    defaults.record = "Built-in Mic";
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
