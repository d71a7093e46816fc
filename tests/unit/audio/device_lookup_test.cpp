#include "audio/device_lookup.h"
#include "fake_wave_devices.h"

#include <gtest/gtest.h>

namespace tarnix {
namespace {

using test::FakeWaveDevices;

TEST(DeviceLookup, FindsEachDeviceOfTheUsualSet)
{
    FakeWaveDevices devices;
    devices.outputs = {"Speakers", "USB Audio Device", "Virtual Cable 1 Out"};
    devices.inputs = {"Microphone", "Virtual Cable 2 In (VB)", "usb audio device"};
    EXPECT_EQ(findHandsetOutput(devices), 1);
    EXPECT_EQ(findHandsetInput(devices), 2);
    EXPECT_EQ(findComputerOutput(devices), 0);
    EXPECT_EQ(findOutputByName(devices, "virtual cable 1 out"), 2);
    EXPECT_EQ(findOutputByName(devices, "Virtual Cable"), -1);
    EXPECT_EQ(findInputByName(devices, "Virtual Cable 2 In"), 1);
    EXPECT_EQ(findInputByName(devices, "virtual cable 2 in"), -1);
}

TEST(DeviceLookup, MatchingRulesDifferInCase)
{
    struct Case {
        std::vector<std::optional<std::string>> outputs;
        int handset;
        int computer;
    };
    const Case cases[] = {
        {{"USB Audio Device", "Virtual Cable 2 Out"}, 0, -1},
        // A lower-case "usb" passes the handset's prefix test and the computer's substring test.
        {{"usb phone"}, 0, 0},
        {{"My USB headset", "Line Out"}, -1, 1},
        {{"US", "Usb"}, 1, 0},
        {{}, -1, -1},
    };
    for (const Case& c : cases) {
        FakeWaveDevices devices;
        devices.outputs = c.outputs;
        EXPECT_EQ(findHandsetOutput(devices), c.handset) << c.outputs.size();
        EXPECT_EQ(findComputerOutput(devices), c.computer) << c.outputs.size();
    }
}

TEST(DeviceLookup, SkipsDevicesWhoseNamesCannotBeRead)
{
    FakeWaveDevices devices;
    devices.outputs = {std::nullopt, "USB Audio Device", "Speakers"};
    EXPECT_EQ(findHandsetOutput(devices), 1);
    EXPECT_EQ(findComputerOutput(devices), 2);
}

}  // namespace
}  // namespace tarnix
