#include "ui/handset_test_dialog.h"

#include "app/default_device_mover.h"
#include "app/phone_controller.h"
#include "device/handset_codes.h"
#include "fake_default_sound_devices.h"
#include "fake_messenger_link.h"
#include "fake_wave_devices.h"
#include "folder_environment.h"
#include "handset_test_rig.h"
#include "recording_keys.h"
#include "recording_tray.h"
#include "temp_folder.h"
#include "ui/framework/control_id.h"
#include "ui_test_support.h"
#include "virtual_handsets.h"
#include "virtual_pstn_board.h"
#include "wav_bytes.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

namespace tarnix::test {
namespace {

using D = HandsetTestDialog;

std::string wavFile(int rate)
{
    const std::vector<unsigned char> pcm(std::size_t(rate / 10) * 2, 0);
    const auto bytes = WavBytes().format(1, rate, 16).chunk("data", pcm).file();
    return {bytes.begin(), bytes.end()};
}

// The dialog over a phone controller on the virtual handsets and fake sound devices.
struct DialogBench {
    DialogBench()
    {
        wave.outputs = {"Speakers", "USB Audio Device"};
        wave.inputs = {"Microphone", "USB Audio Device"};
        wave.instantPlayback = true;
    }
    ~DialogBench() { std::filesystem::current_path(startFolder); }

    void plug(std::shared_ptr<sim::VirtualHandset> plugged)
    {
        handset = std::move(plugged);
        path = rig.bus.plug(handset);
    }
    void start()
    {
        controller.StartController();
        rig.loop.runPending();
        if (handset) {
            handset->release();
            rig.ticks(2);
        }
        log.take();
    }
    // Runs the steps inside the dialog's own loop, then ends it with Exit.
    void whileOpen(const std::function<void()>& steps)
    {
        QTimer::singleShot(0, [&] {
            steps();
            if (dialog.Handle()) click(D::kExit);
        });
        dialog.Open(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void press(int key)
    {
        handset->press(key);
        rig.ticks(2);
        handset->release();
        rig.ticks(2);
    }
    void keys(std::initializer_list<int> codes)
    {
        for (int code : codes) press(code);
    }
    QWidget* control(int id) const { return dialog.GetDlgItem(id); }
    void click(int id) { qobject_cast<QPushButton*>(control(id))->click(); }
    QString text(int id) const
    {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(control(id))) return edit->toPlainText();
        return qobject_cast<QPushButton*>(control(id))->text();
    }
    bool enabled(int id) const { return control(id)->isEnabled(); }
    sim::LcdReading lcd() const { return std::static_pointer_cast<sim::VirtualLcdHandset>(handset)->lcd(); }

    const std::filesystem::path startFolder = std::filesystem::current_path();
    TempFolder folder;
    TranscriptLog log;
    HandsetTestRig rig{VIRTUAL_PSTN_BOARD_PATH};
    std::shared_ptr<sim::VirtualHandset> handset;
    std::string path;
    RecordingTray tray{log};
    FakeMessengerLink skype{"skype", log};
    FakeMessengerLink qq{"qq", log};
    RecordingKeys keyboard{log};
    FakeWaveDevices wave;
    FakeDefaultSoundDevices defaults;
    DefaultDeviceMover mover{defaults};
    PhoneController controller{{rig.service, tray, skype, qq, keyboard, wave, mover}};
    FolderEnvironment environment{folder.path()};
    RecordingErrors errors;
    HandsetTestMemory memory;
    HandsetTestDialog dialog{rig.loop, {controller, rig.channel(), wave, environment, errors, memory}};
};

class HandsetTestDialogTest : public UiTest, protected DialogBench {};

TEST_F(HandsetTestDialogTest, ControlsFollowTheHandsetsFunctions)
{
    struct Case {
        const char* name;
        std::function<void(DialogBench&)> plugIt;
        bool testLcd, lights;
    };
    const Case cases[] = {
        {"model 1", [](auto& t) { t.plug(std::make_shared<sim::VirtualBasicHandset>()); }, false, true},
        {"model 2", [](auto& t) { t.plug(std::make_shared<sim::VirtualLcdHandset>()); }, true, true},
        {"model 4", [](auto& t) { t.plug(std::make_shared<sim::VirtualMelodyHandset>()); }, false, false},
        {"PSTN board",
         [](auto& t) {
             VirtualPstnBoardReset();
             t.rig.bus.plugOther(0x00B3, 0x0020);
         },
         false, true},
    };
    for (const Case& c : cases) {
        DialogBench t;
        c.plugIt(t);
        t.start();
        t.whileOpen([&] {
            EXPECT_EQ(t.text(D::kDisplay), "USB Phone Found") << c.name;
            EXPECT_EQ(t.enabled(D::kTestLcd), c.testLcd) << c.name;
            EXPECT_EQ(t.enabled(D::kLightOn), c.lights) << c.name;
            EXPECT_EQ(t.enabled(D::kLightOff), c.lights) << c.name;
            // Every model has a fixed melody; the song and line controls stay hidden.
            EXPECT_FALSE(t.enabled(D::kSelectSong)) << c.name;
            for (int hidden : {D::kSelectSong, D::kMelodyList, D::kIp, D::kPstn}) {
                EXPECT_TRUE(t.control(hidden)->isHidden()) << c.name << " " << hidden;
            }
        });
    }

    start();
    whileOpen([&] {
        EXPECT_EQ(text(D::kDisplay), "USB Phone NOT Found");
        auto* melodies = qobject_cast<QComboBox*>(control(D::kMelodyList));
        ASSERT_EQ(melodies->count(), 13);
        EXPECT_EQ(melodies->itemText(0), "有电话了");
        EXPECT_EQ(melodies->itemText(12), "好一朵美丽的茉莉花");
        // Without a handset every command fails; the box has no error code to tell.
        click(D::kRingOn);
        click(D::kRingOff);
    });
    EXPECT_EQ(errors.shown, std::vector<std::string>{"Error: "});
}

TEST_F(HandsetTestDialogTest, KeysShowAsTextEchoOnTheDisplayAndReachNoMessenger)
{
    skype.attached = true;
    plug(std::make_shared<sim::VirtualLcdHandset>());
    start();
    whileOpen([&] {
        keys({Key1, Key2, Key3});
        EXPECT_EQ(lcd().text(), "123");
        press(KeyNo);
        EXPECT_EQ(lcd().text(), "12");
        EXPECT_FALSE(lcd().callIcon);
        press(KeyYes);
        EXPECT_TRUE(lcd().callIcon);
        press(KeyNo);
        EXPECT_FALSE(lcd().callIcon);
        EXPECT_EQ(lcd().text(), "");
        keys({KeyHash, KeyUp, KeyDown, KeyMute, KeyDelete});
        handset->lift();
        rig.ticks(2);
        EXPECT_EQ(text(D::kDisplay), "USB Phone Found123[C][OK][C]#[上][下][MUTE][Delete][Hook Off]");
    });
    EXPECT_EQ(log.take(), Transcript{}) << "a key reached a messenger";
    EXPECT_EQ(memory.previousEvent, HookOff);
    EXPECT_EQ(memory.echo, "#");

    // Closed: the handset shows the clock again and keys go to the messenger.
    EXPECT_NE(lcd().shown().find(':'), std::string::npos) << lcd().shown();
    press(Key5);
    EXPECT_EQ(log.take(), Transcript{"skype key 5"});

    // The echo is kept between openings, and never grows past its limit.
    whileOpen([&] {
        for (int i = 0; i < 1000; ++i) controller.OnHandsetKey(Key7);
    });
    EXPECT_EQ(memory.echo.size(), HandsetTestMemory::kEchoLimit);
    EXPECT_EQ(memory.echo.substr(0, 2), "#7");
}

TEST_F(HandsetTestDialogTest, StarCombinationsDriveTheHandset)
{
    auto lcdHandset = std::make_shared<sim::VirtualLcdHandset>();
    plug(lcdHandset);
    start();
    whileOpen([&] {
        keys({KeyStar, KeyUp});
        EXPECT_TRUE(handset->ringing());
        keys({KeyStar, KeyDown});
        EXPECT_FALSE(handset->ringing());
        keys({KeyStar, Key0});
        EXPECT_TRUE(handset->light());
        keys({KeyStar, Key1});
        EXPECT_TRUE(lcd().allOn);
        // Star then C runs the loop, star then C again stops it.
        keys({KeyStar, KeyNo});
        EXPECT_TRUE(dialog.looping());
        EXPECT_EQ(text(D::kRecord), "录音中");
        keys({KeyStar, KeyNo});
        EXPECT_FALSE(dialog.looping());
        EXPECT_EQ(text(D::kRecord), "录音");
        // Ringing from the dialog with no call: closing stops it.
        keys({KeyStar, KeyUp});
        // The song and line buttons are hidden; a handset without their functions refuses them.
        dialog.SendMessage(WM_COMMAND, D::kSelectSong, 0);
        dialog.SendMessage(WM_COMMAND, D::kPstn, 0);
    });
    EXPECT_EQ(errors.shown, std::vector<std::string>{"Error: The USB phone doesn't support this function"});
    EXPECT_FALSE(handset->ringing());
    EXPECT_FALSE(handset->light());
    EXPECT_FALSE(lcd().allOn);
}

TEST_F(HandsetTestDialogTest, ClosingPutsTheHandsetBackAsTheCallsSay)
{
    plug(std::make_shared<sim::VirtualLcdHandset>());
    start();
    skype.attached = true;
    skype.inCall = true;
    skype.ringing = true;
    controller.appendDialled('4');
    controller.appendDialled('2');
    rig.channel().HandsetRing(1);
    whileOpen([&] {
        keys({Key9, Key9});
        click(D::kLightOff);
        click(D::kTestLcd);
    });
    EXPECT_TRUE(handset->ringing()) << "a ringing call keeps ringing";
    EXPECT_TRUE(handset->light());
    EXPECT_TRUE(lcd().callIcon);
    EXPECT_EQ(lcd().text(), "42");
    EXPECT_FALSE(lcd().allOn);

    skype.ringing = false;
    skype.inCall = false;
    controller.clearDialled();
    whileOpen([&] { keys({KeyStar, KeyUp, KeyStar, Key0}); });
    EXPECT_FALSE(handset->ringing());
    EXPECT_FALSE(handset->light());
    EXPECT_FALSE(lcd().callIcon);
}

TEST_F(HandsetTestDialogTest, UnplugReplacesTheEventsAndASecondOpenOnlyRaisesTheFirst)
{
    plug(std::make_shared<sim::VirtualBasicHandset>());
    start();
    whileOpen([&] {
        keys({Key4, Key5});
        EXPECT_EQ(text(D::kDisplay), "USB Phone Found45");
        QWidget* first = dialog.Handle();
        dialog.Open(nullptr);
        EXPECT_EQ(dialog.Handle(), first);
        rig.bus.unplug(path);
        rig.ticks(2);
        EXPECT_EQ(text(D::kDisplay), "USB Phone No Found");
    });
}

TEST_F(HandsetTestDialogTest, LoopRunsFiveSecondsOnTheHandsetsDevicesWithItsLevel)
{
    plug(std::make_shared<sim::VirtualBasicHandset>());
    start();
    whileOpen([&] {
        click(D::kRecord);
        EXPECT_TRUE(dialog.looping());
        EXPECT_FALSE(enabled(D::kPlay));
        ASSERT_EQ(wave.openedCount(), 2u);
        auto output = wave.opened(0);
        auto input = wave.opened(1);
        EXPECT_EQ(output->id, 1);
        EXPECT_EQ(input->id, 1);
        EXPECT_EQ(input->format.samplesPerSecond, 8000u);
        EXPECT_EQ(input->format.channels, 1);
        EXPECT_EQ(input->format.bitsPerSample, 16);

        // The fake fills blocks with 0x0101, 0x0202, ...: a level above nothing.
        ASSERT_TRUE(waitUntil([&] { return input->heldCount() > 0; }));
        input->completeNext();
        ASSERT_TRUE(waitUntil([&] { return !output->playedBytes().empty(); }));
        ASSERT_TRUE(waitUntil([&] {
            rig.loop.runPending();
            return dialog.level() > 0;
        }));
        EXPECT_EQ(output->playedBytes().size(), 480u);

        rig.loop.advance(D::kLoopMs);
        EXPECT_FALSE(dialog.looping());
        EXPECT_EQ(text(D::kRecord), "录音");
        EXPECT_TRUE(enabled(D::kPlay));
        EXPECT_EQ(dialog.level(), 0);
        EXPECT_TRUE(input->closed);
        EXPECT_TRUE(output->closed);

        // Without a USB device the user's default devices serve; closing stops the loop.
        wave.outputs = {"Speakers"};
        wave.inputs = {"Microphone"};
        click(D::kRecord);
        ASSERT_EQ(wave.openedCount(), 4u);
        EXPECT_EQ(wave.opened(2)->id, -1);
        EXPECT_EQ(wave.opened(3)->id, -1);
    });
    EXPECT_FALSE(dialog.looping());
    EXPECT_TRUE(wave.opened(3)->closed);
}

TEST_F(HandsetTestDialogTest, SoundsAreFoundInTheWorkingFolderThenBesideTheProgram)
{
    TempFolder working;
    std::filesystem::current_path(working.path());
    plug(std::make_shared<sim::VirtualBasicHandset>());
    start();
    auto lastRate = [&] { return wave.opened(wave.openedCount() - 1)->format.samplesPerSecond; };
    whileOpen([&] {
        // No files: the key sound is the built-in click, and Play gives its buttons back at once.
        press(Key1);
        ASSERT_TRUE(waitUntil([&] { return wave.openedCount() == 1; }));
        EXPECT_EQ(lastRate(), 22050u);
        click(D::kPlay);
        EXPECT_TRUE(enabled(D::kPlay));
        EXPECT_TRUE(enabled(D::kRecord));

        folder.write(D::kKeySound, wavFile(11025));
        folder.write(D::kTestSound, wavFile(16000));
        press(Key2);
        ASSERT_TRUE(waitUntil([&] { return wave.openedCount() == 2; }));
        EXPECT_EQ(lastRate(), 11025u);
        working.write(D::kKeySound, wavFile(8000));
        press(Key3);
        ASSERT_TRUE(waitUntil([&] { return wave.openedCount() == 3; }));
        EXPECT_EQ(lastRate(), 8000u);

        click(D::kPlay);
        EXPECT_FALSE(enabled(D::kPlay));
        EXPECT_FALSE(enabled(D::kRecord));
        ASSERT_TRUE(waitUntil([&] {
            rig.loop.runPending();
            return enabled(D::kPlay);
        }));
        EXPECT_TRUE(enabled(D::kRecord));
        EXPECT_EQ(lastRate(), 16000u);
    });
}

}  // namespace
}  // namespace tarnix::test
