#include "app/default_device_mover.h"
#include "app/phone_controller.h"
#include "audio/pcm_format.h"
#include "fake_messenger_link.h"
#include "fake_wave_devices.h"
#include "handset_test_rig.h"
#include "platform/linux/alsa/alsa_wave_devices.h"
#include "platform/linux/pulse/pulse_default_sound_devices.h"
#include "private_pulse.h"
#include "recording_keys.h"
#include "recording_tray.h"
#include "virtual_event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

using namespace std::chrono_literals;

const std::string LongMic = "内置麦克风内置麦克风内置麦克风";  // 45 bytes

// A desktop whose sound server holds the cards, with a handset plugged in and made the default
// (as servers do with a device just plugged in). ALSA lists the server's own entries ("pulse",
// "default") before any device.
class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.ready()) << "pulseaudio did not start"; }

    std::vector<std::string> names(const WaveDevices& devices, bool output) const
    {
        std::vector<std::string> found;
        std::string name;
        const int count = output ? devices.outputCount() : devices.inputCount();
        for (int id = 0; id < count; ++id) {
            if (output ? devices.outputName(id, name) : devices.inputName(id, name)) found.push_back(name);
        }
        return found;
    }

    static bool has(const std::vector<std::string>& names, const std::string& name)
    {
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    PrivatePulse server{QString::fromUtf8(R"(
load-module module-null-sink sink_name=usb sink_properties='alsa.card_name="USB Audio Device" alsa.name="USB Audio" device.description="USB Audio Device Analog Stereo"'
load-module module-null-sink sink_name=pc sink_properties='alsa.card_name="HDA Intel PCH" alsa.name="ALC892 Analog" device.description="Built-in Audio Analog Stereo"'
load-module module-null-source source_name=usbin description="USB Audio Device"
load-module module-null-source source_name=pcin description=)" +
                                          LongMic + R"(
set-default-sink usb
set-default-source usbin
)")};
};

TEST_F(SoundServerTest, SetUpGivesTheHandsetToTheMessengerAndMovesTheDefaultsToTheComputer)
{
    AlsaWaveDevices devices;
    // The server's entries are routes to its default, not the computer's own device; its sinks'
    // monitors are not inputs.
    const std::vector<std::string> outputs = names(devices, true);
    EXPECT_FALSE(has(outputs, "PulseAudio Sound Server"));
    ASSERT_GE(outputs.size(), 2U);
    EXPECT_EQ(outputs[0], "USB Audio Device, USB Audio");
    EXPECT_EQ(outputs[1], "HDA Intel PCH, ALC892 Analog");
    const std::vector<std::string> inputs = names(devices, false);
    ASSERT_GE(inputs.size(), 2U);
    EXPECT_EQ(inputs[0], "USB Audio Device");
    EXPECT_EQ(inputs[1], "内置麦克风内置麦克风");  // cut to 31 bytes on a character boundary

    TranscriptLog log;
    HandsetTestRig rig;
    RecordingTray tray{log};
    FakeMessengerLink skype{"skype", log};
    FakeMessengerLink qq{"qq", log};
    RecordingKeys keys{log};
    PulseDefaultSoundDevices defaults;
    DefaultDeviceMover mover{defaults};
    PhoneController controller{{rig.service, tray, skype, qq, keys, devices, mover}};
    controller.SetupUsbAudio();
    mover.waitUntilIdle();
    EXPECT_EQ(log.take(),
              (Transcript{"skype output USB Audio Device, USB Audio #0",
                          "qq output USB Audio Device, USB Audio #0", "skype input USB Audio Device"}));
    PulseDefaultSoundDevices observer;
    EXPECT_EQ(observer.currentDefault(SoundDirection::Playback), "HDA Intel PCH, ALC892 Analog");
    EXPECT_EQ(observer.currentDefault(SoundDirection::Record), LongMic);

    // The server's devices open through it, while the cards' own entries are held.
    EXPECT_NE(devices.openOutput(0, PcmFormat::linear(1, 8000, 16)), nullptr);
    EXPECT_NE(devices.openInput(1, PcmFormat::linear(1, 8000, 16)), nullptr);
}

TEST_F(SoundServerTest, ListsFollowDevicesAndTheServerComingAndGoing)
{
    VirtualEventLoop loop;
    AlsaWaveDevices devices;
    int told = 0;
    devices.followChanges(loop, [&] { ++told; });
    ASSERT_FALSE(has(names(devices, true), "USB Headset"));
    loop.runPending();
    EXPECT_EQ(told, 0);  // the first reading is no change

    ASSERT_TRUE(server.pactl({"load-module", "module-null-sink", "sink_name=headset",
                              "sink_properties=device.description=\"USB\\ Headset\""}));
    EXPECT_TRUE(waitUntil([&] { return has(names(devices, true), "USB Headset"); }, 5s));
    loop.runPending();
    EXPECT_GE(told, 1);

    // A server that hangs holds up the reader, not the queries: they see the lists as they were.
    server.hang(true);
    devices.devicesChanged();
    EXPECT_TRUE(has(names(devices, true), "USB Headset"));
    server.hang(false);

    server.crash();
    EXPECT_TRUE(waitUntil([&] { return !has(names(devices, true), "USB Headset"); }, 5s));
    EXPECT_FALSE(has(names(devices, false), "USB Audio Device"));
}

}  // namespace
}  // namespace tarnix::test
