#include "audio/mixer_volume.h"
#include "fake_mixer_port.h"

#include <gtest/gtest.h>

namespace tarnix {
namespace {

using test::FakeMixerPort;
using Line = FakeMixerPort::Line;

TEST(MixerVolume, ProbesWaveOutOnlyWithoutSpeakers)
{
    struct Case {
        std::vector<Line> lines;
        std::vector<std::uint32_t> probed;
        std::uint32_t outputType;
        std::uint32_t inputType;
        int entries;
    };
    const Case cases[] = {
        {{{MixerSpeakers}, {MixerWaveOut}},
         {MixerSpeakers, MixerWaveIn, MixerMicrophone},
         MixerSpeakers,
         MixerMicrophone,
         1},
        {{{MixerWaveOut}, {MixerWaveIn}},
         {MixerSpeakers, MixerWaveOut, MixerWaveIn, MixerMicrophone},
         MixerWaveOut,
         MixerWaveIn,
         2},
        // Both capture lines: the microphone wins the input type.
        {{{MixerSpeakers}, {MixerWaveIn}, {MixerMicrophone}},
         {MixerSpeakers, MixerWaveIn, MixerMicrophone},
         MixerSpeakers,
         MixerMicrophone,
         3},
        // A speaker line without a readable volume does not count: wave-out is probed.
        {{{MixerSpeakers, true, false}, {MixerWaveOut}},
         {MixerSpeakers, MixerWaveOut, MixerWaveIn, MixerMicrophone},
         MixerWaveOut,
         MixerMicrophone,
         1},
        {{{MixerSpeakers, false}},
         {MixerSpeakers, MixerWaveOut, MixerWaveIn, MixerMicrophone},
         MixerSpeakers,
         MixerMicrophone,
         0},
    };
    for (const Case& c : cases) {
        FakeMixerPort port;
        port.devices = {{"USB Audio Device", c.lines}};
        MixerVolume mixer(port);
        EXPECT_EQ(mixer.openMixer(0), 1);
        EXPECT_EQ(port.probed, c.probed);
        EXPECT_EQ(mixer.outputLineType(), c.outputType);
        EXPECT_EQ(mixer.inputLineType(), c.inputType);
        EXPECT_EQ(mixer.entryCount(), c.entries);
    }
}

TEST(MixerVolume, InputKindReadsOnlyTheMicrophoneWhenBothCaptureLinesExist)
{
    FakeMixerPort port;
    port.devices = {{"USB Audio Device",
                     {{MixerSpeakers, true, true, 1000},
                      {MixerWaveIn, true, true, 2000},
                      {MixerMicrophone, true, true, 30000}}}};
    MixerVolume mixer(port);
    mixer.openMixer(0);
    std::uint32_t value = 0;
    EXPECT_EQ(mixer.getVolume(MixerMicrophone, value), 1);
    EXPECT_EQ(value, 30000u);
    EXPECT_EQ(mixer.getVolume(MixerWaveIn, value), 1);
    EXPECT_EQ(value, 2000u);
    EXPECT_EQ(mixer.getVolume(MixerSpeakers, value), 1);
    EXPECT_EQ(value, 1000u);

    EXPECT_EQ(mixer.setVolume(MixerSpeakers, 40960), 1);
    EXPECT_EQ(port.devices[0].lines[0].value, 40960u);
    EXPECT_EQ(port.devices[0].lines[2].value, 30000u);
}

TEST(MixerVolume, WithoutLinesGetFailsWithZeroAndSetChangesNothing)
{
    FakeMixerPort port;
    port.devices = {{"Card", {}, false}};
    MixerVolume mixer(port);
    EXPECT_EQ(mixer.openMixer(0), 0);
    EXPECT_EQ(mixer.deviceCount(), 1);
    std::uint32_t value = 77;
    EXPECT_EQ(mixer.getVolume(MixerSpeakers, value), 0);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(mixer.setVolume(MixerSpeakers, 100), 1);
}

TEST(MixerVolume, ChoosesTheMixerByName)
{
    FakeMixerPort port;
    port.devices = {{"HDA Intel"}, {std::nullopt}, {"usb audio device"}, {"C-Media USB Headset"}};
    MixerVolume mixer(port);
    mixer.openHandsetMixer();
    EXPECT_EQ(port.lastOpened, 2);

    port.devices = {{"HDA Intel"}, {"usb speaker"}};
    mixer.openHandsetMixer();
    EXPECT_EQ(port.lastOpened, 0);

    // Positions count only the devices whose names could be read.
    port.devices = {{std::nullopt}, {"HDA Intel"}, {"Virtual Cable"}};
    mixer.openMixerByName("Cable");
    EXPECT_EQ(port.lastOpened, 1);
    mixer.openMixerByName("");
    EXPECT_EQ(port.lastOpened, 0);
    mixer.openMixerByName("Nothing");
    EXPECT_EQ(port.lastOpened, 0);
}

}  // namespace
}  // namespace tarnix
