#include "audio/mp3_source.h"
#include "audio/sound_player.h"
#include "audio/sound_players.h"
#include "counting_playback_listener.h"
#include "fake_wave_devices.h"
#include "mp3_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tarnix {
namespace {

using test::FakeWaveDevices;
using test::waitUntil;

// Decoding runs on shared dither state, so two decodes of one file differ in the lowest bits.
void expectSameSound(const std::vector<std::int16_t>& played, const std::vector<std::int16_t>& decoded)
{
    ASSERT_EQ(played.size(), decoded.size());
    for (std::size_t i = 0; i < played.size(); ++i) {
        ASSERT_LE(std::abs(played[i] - decoded[i]), 8) << i;
    }
}

std::vector<std::int16_t> decodeFile(const std::string& path)
{
    Mp3Source source;
    EXPECT_EQ(source.openSource(FileStream::open(path)), 1);
    return test::decodeAll(source);
}

class Mp3Playback : public ::testing::Test {
protected:
    Mp3Playback() { devices.instantPlayback = true; }

    // Raw 16-bit samples through the lame command with the given mode, rate and bit rate (kept even
    // where the command would lower the rate of its own accord).
    std::string encodeWithLame(const std::vector<std::int16_t>& samples, const char* mode, const char* kHz,
                               int kbps, const std::string& name)
    {
        test::writeSamples(dir + name + ".raw", samples);
        EXPECT_TRUE(test::run(std::string(LAME_COMMAND) + " --quiet -r -s " + kHz + " --resample " + kHz +
                              " --bitwidth 16 --signed --little-endian -m " + mode + " -b " +
                              std::to_string(kbps) + " --cbr -t " + dir + name + ".raw " + dir + name +
                              ".mp3 2>/dev/null"));
        return dir + name + ".mp3";
    }

    FakeWaveDevices devices;
    test::TempFolder folder;
    std::string dir = folder.path();
};

TEST_F(Mp3Playback, MessagePlaysWholeOnTheComputersOwnDevice)
{
    devices.outputs = {"USB Audio Device", "Speakers", "Virtual Cable 1 Out"};
    SoundPlayers players(devices);
    const std::string path = dir + "message.mp3";
    test::encodeMessage(test::sineWave(48000, 440, 0.5), path);

    ASSERT_EQ(playMessage(path), 1);
    SoundPlayer& player = players.messagePlayer();
    ASSERT_TRUE(waitUntil([&] { return !player.isRunning(); }));
    EXPECT_EQ(player.deviceId(), 1);
    auto device = devices.opened(0);
    EXPECT_EQ(device->id, 1);
    EXPECT_EQ(device->format.samplesPerSecond, 48000u);
    EXPECT_EQ(device->format.channels, 1);
    EXPECT_EQ(device->format.bitsPerSample, 16);
    EXPECT_TRUE(device->closed);
    // Slots of the first frame's bit rate times 100: 128 kbit/s gives 12800 bytes.
    EXPECT_EQ(device->played.front().size(), 12800u);
    expectSameSound(test::toSamples(device->playedBytes()), decodeFile(path));

    // A message that cannot be opened plays nothing and leaves the device as it was.
    EXPECT_EQ(playMessage(dir + "missing.mp3"), 0);
    EXPECT_EQ(player.deviceId(), 1);
    EXPECT_EQ(devices.openedCount(), 1u);
}

// A slot of the coded rate would hold less than one 60 ms pass of sound for low rates; the player
// never feeds less than 100 ms per slot.
TEST_F(Mp3Playback, SlotsHoldAtLeastATenthOfASecondOfSound)
{
    const auto left = test::sineWave(44100, 440, 0.3, 44100);
    std::vector<std::int16_t> stereo;
    for (std::int16_t sample : left) {
        stereo.push_back(sample);
        stereo.push_back(static_cast<std::int16_t>(-sample));
    }
    struct Case {
        std::string path;
        unsigned rate;
        int channels;
        std::size_t slot;
    };
    const std::vector<Case> cases = {
        {encodeWithLame(test::sineWave(48000, 440, 0.3), "m", "48", 32, "low"), 48000, 1, 9600},
        {encodeWithLame(stereo, "s", "44.1", 128, "stereo"), 44100, 2, 17600},
        {encodeWithLame(test::sineWave(48000, 440, 0.3), "m", "48", 256, "high"), 48000, 1, 25600},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.path);
        SoundPlayer player(devices);
        ASSERT_EQ(player.loadMp3File(c.path), 1);
        player.play(nullptr, false);
        ASSERT_TRUE(waitUntil([&] { return !player.isRunning(); }));
        auto device = devices.opened(i);
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->format.samplesPerSecond, c.rate);
        EXPECT_EQ(device->format.channels, c.channels);
        EXPECT_EQ(device->played.front().size(), c.slot);
        expectSameSound(test::toSamples(device->playedBytes()), decodeFile(c.path));
    }
}

TEST_F(Mp3Playback, AFileWithoutFramesLoadsAndEndsAtOnceWithTheListener)
{
    test::CountingPlaybackListener listener;
    SoundPlayer player(devices);
    const std::string path = dir + "noise.mp3";
    test::writeFile(path, std::vector<unsigned char>(5000, 0x55));
    EXPECT_EQ(player.loadMp3File(path), 1);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    ASSERT_TRUE(waitUntil([&] { return !player.isRunning(); }));
    EXPECT_TRUE(devices.openedCount() == 0 || devices.opened(0)->playedBytes().empty());
}

}  // namespace
}  // namespace tarnix
