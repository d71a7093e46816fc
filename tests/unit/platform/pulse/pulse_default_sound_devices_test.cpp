#include "platform/linux/pulse/pulse_default_sound_devices.h"

#include "app/default_device_change.h"
#include "private_pulse.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

namespace tarnix {
namespace {

const std::string UsbOut = "USB Audio Device, USB Audio";
const std::string PcOut = "HDA Intel PCH, ALC892 Analog";
const std::string HdmiOut = "HDMI Output";  // a device the server does not drive through ALSA
const std::string UsbIn = "USB Audio Device";
const std::string PcIn = "Built-in Mic";

// A private sound server with null devices named like a desktop with a handset plugged in: the
// handset's devices are the defaults.
class PulseDefaultSoundDevicesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.ready()) << "pulseaudio did not start"; }

    PrivatePulse server_{R"(
load-module module-null-sink sink_name=usb sink_properties='alsa.card_name="USB Audio Device" alsa.name="USB Audio" device.description="USB Audio Device Analog Stereo"'
load-module module-null-sink sink_name=pc sink_properties='alsa.card_name="HDA Intel PCH" alsa.name="ALC892 Analog" device.description="Built-in Audio Analog Stereo"'
load-module module-null-sink sink_name=hdmi sink_properties='device.description="HDMI Output"'
load-module module-null-source source_name=usbin description="USB Audio Device"
load-module module-null-source source_name=pcin description="Built-in Mic"
set-default-sink usb
set-default-source usbin
)"};
};

TEST_F(PulseDefaultSoundDevicesTest, UsbDefaultsMoveToTheNamedDevices)
{
    PulseDefaultSoundDevices devices;
    ASSERT_TRUE(devices.open());
    EXPECT_EQ(devices.currentDefault(SoundDirection::Playback), UsbOut);
    EXPECT_EQ(devices.currentDefault(SoundDirection::Record), UsbIn);

    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Playback, PcOut), DefaultDeviceDone);
    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Record, PcIn), DefaultDeviceDone);

    PulseDefaultSoundDevices observer;
    EXPECT_EQ(observer.currentDefault(SoundDirection::Playback), PcOut);
    EXPECT_EQ(observer.currentDefault(SoundDirection::Record), PcIn);
}

TEST_F(PulseDefaultSoundDevicesTest, DeviceIsFoundByProductNameOrDescription)
{
    PulseDefaultSoundDevices devices;
    const std::string names[] = {HdmiOut, "Built-in Audio Analog Stereo", UsbOut};
    const std::string expected[] = {HdmiOut, PcOut, UsbOut};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(devices.setDefault(SoundDirection::Playback, names[i])) << names[i];
        EXPECT_EQ(devices.currentDefault(SoundDirection::Playback), expected[i]);
    }
}

TEST_F(PulseDefaultSoundDevicesTest, NonUsbDefaultStaysAndUnknownDevicesFail)
{
    PulseDefaultSoundDevices devices;
    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Playback, "No Such Device"),
              DefaultDevicePlaybackNotSet);
    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Record, "No Such Device"),
              DefaultDeviceRecordNotSet);
    EXPECT_EQ(devices.currentDefault(SoundDirection::Playback), UsbOut);

    ASSERT_TRUE(devices.setDefault(SoundDirection::Playback, HdmiOut));
    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Playback, PcOut), DefaultDeviceDone);
    EXPECT_EQ(devices.currentDefault(SoundDirection::Playback), HdmiOut);
}

TEST_F(PulseDefaultSoundDevicesTest, ServerThatWentAwayIsNoServer)
{
    PulseDefaultSoundDevices devices;
    ASSERT_TRUE(devices.open());
    server_.crash();
    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Playback, PcOut), DefaultDeviceNoServer);
    EXPECT_EQ(devices.currentDefault(SoundDirection::Playback), "");
}

TEST(PulseDefaultSoundDevicesWithoutServer, NothingRunsAndNothingIsStarted)
{
    QTemporaryDir dir;
    const std::string socket = dir.filePath("native").toStdString();
    ::setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    PulseDefaultSoundDevices devices;
    EXPECT_FALSE(devices.open());
    EXPECT_EQ(changeDefaultDevice(devices, SoundDirection::Record, PcIn), DefaultDeviceNoServer);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(socket)));
    ::unsetenv("PULSE_SERVER");
}

}  // namespace
}  // namespace tarnix
