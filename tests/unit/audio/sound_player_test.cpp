#include "audio/sound_player.h"
#include "audio/sound_players.h"
#include "audio/wave_resources.h"
#include "counting_playback_listener.h"
#include "fake_wave_devices.h"
#include "wav_bytes.h"

#include <gtest/gtest.h>

namespace tarnix {
namespace {

using test::FakeWaveDevices;
using test::ramp;
using test::waitUntil;
using test::WavBytes;

class SoundPlayerTest : public ::testing::Test {
protected:
    static constexpr std::size_t kSlotBytes = 100;

    // Loads a sound of 1000 bytes per second (slots of kSlotBytes) from memory the test keeps.
    void load(SoundPlayer& player, std::size_t dataBytes, int rate = 1000, int bits = 8)
    {
        file_ = WavBytes().format(1, rate, bits).chunk("data", ramp(dataBytes)).file();
        ASSERT_EQ(player.setWavSource(std::make_unique<MemoryStream>(file_.data(), file_.size())), 1);
    }
    std::vector<unsigned char> played(std::size_t device = 0)
    {
        auto state = devices.opened(device);
        return state == nullptr ? std::vector<unsigned char>() : state->playedBytes();
    }

    FakeWaveDevices devices;
    test::CountingPlaybackListener listener;
    std::vector<unsigned char> file_;
};

TEST_F(SoundPlayerTest, PlaysTheWholeSoundThenDrainsClosesAndTellsTheListenerOnce)
{
    devices.instantPlayback = true;
    SoundPlayer player(devices);
    player.setDeviceId(4);
    load(player, 250);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    EXPECT_TRUE(waitUntil([&] { return !player.isRunning(); }));
    EXPECT_EQ(played(), ramp(250));
    auto device = devices.opened(0);
    EXPECT_EQ(device->id, 4);
    EXPECT_EQ(device->format.samplesPerSecond, 1000u);
    EXPECT_EQ(device->format.bitsPerSample, 8);
    EXPECT_TRUE(device->closed);
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(SoundPlayerTest, LoopsFromTheStartUntilStopped)
{
    devices.instantPlayback = true;
    SoundPlayer player(devices);
    load(player, 150);
    player.play(&listener, true);
    ASSERT_TRUE(waitUntil([&] { return played().size() >= 450; }));
    player.stopPlayback();
    const std::vector<unsigned char> all = played();
    for (std::size_t i = 0; i < all.size(); ++i) {
        ASSERT_EQ(all[i], ramp(150)[i % 150]) << i;
    }
    EXPECT_EQ(listener.calls, 1);
    EXPECT_TRUE(waitUntil([&] { return devices.opened(0)->closed; }));
}

TEST_F(SoundPlayerTest, StopDuringTheDrainStillTellsTheListenerOnce)
{
    SoundPlayer player(devices);  // the device never finishes a buffer
    load(player, 150);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return played().size() == 150; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(player.isRunning());
    player.stopPlayback();
    EXPECT_FALSE(player.isRunning());
    EXPECT_EQ(listener.calls, 1);
    EXPECT_TRUE(waitUntil([&] { return devices.opened(0)->closed; }));
}

// A device slow to let go holds up neither the stop nor the next load and play; the next sound
// opens its device once the last one has closed.
TEST_F(SoundPlayerTest, StopAndTheNextPlayDoNotWaitForTheDeviceToClose)
{
    devices.holdCloses(true);
    SoundPlayer player(devices);
    load(player, 300);
    player.play(&listener, true);
    ASSERT_TRUE(waitUntil([&] { return !played().empty(); }));
    player.stopPlayback();
    EXPECT_EQ(listener.calls, 1);  // told by the stop itself
    load(player, 100);
    player.play(&listener, false);
    player.stopPlayback();
    load(player, 100);
    devices.instantPlayback = true;
    player.play(&listener, false);
    EXPECT_EQ(devices.openedCount(), 1U);  // the first device is still closing
    EXPECT_EQ(listener.calls, 2);

    devices.holdCloses(false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 3; }));
    ASSERT_EQ(devices.openedCount(), 2U);  // the stopped second sound never opened a device
    EXPECT_EQ(devices.opened(1)->othersOpen, 0);
    EXPECT_EQ(played(1), ramp(100));
}

TEST_F(SoundPlayerTest, DropsABlockAfterTenRefusedWrites)
{
    SoundPlayer player(devices);  // the slots fill up and stay full
    load(player, (SoundPlayer::SlotCount + 1) * kSlotBytes);
    player.play(&listener, false);
    // The slots queued, the next block refused for 10 tries of 50 ms, then the drain waits.
    std::this_thread::sleep_for(
        std::chrono::milliseconds(SoundPlayer::SlotCount * SoundPlayer::FeedPauseMs +
                                  SoundPlayer::WriteTries * SoundPlayer::WriteRetryMs + 300));
    EXPECT_TRUE(player.isRunning());
    EXPECT_EQ(played(), ramp(SoundPlayer::SlotCount * kSlotBytes));
    player.stopPlayback();
    EXPECT_EQ(listener.calls, 1);
}

// A device that is not there, or goes, ends the sound with the listener told, as its end would.
TEST_F(SoundPlayerTest, AnOutputThatNeverOpensEndsTheSoundAtOnce)
{
    devices.failOpen = true;
    SoundPlayer player(devices);
    load(player, 150);
    player.play(&listener, true);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    EXPECT_TRUE(waitUntil([&] { return !player.isRunning(); }));
}

TEST_F(SoundPlayerTest, AnOutputThatStopsTakingSoundEndsALoopingSound)
{
    SoundPlayer player(devices);  // fills its slots, then never plays another
    load(player, (SoundPlayer::SlotCount + 1) * kSlotBytes);
    player.play(&listener, true);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }, std::chrono::milliseconds(10000)));
    EXPECT_EQ(played(), ramp(SoundPlayer::SlotCount * kSlotBytes));
}

TEST_F(SoundPlayerTest, AnOutputThatStopsPlayingEndsTheDrain)
{
    SoundPlayer player(devices);  // the whole sound queued, none of it played
    load(player, 150);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }, std::chrono::milliseconds(10000)));
    EXPECT_EQ(played(), ramp(150));
}

TEST_F(SoundPlayerTest, FastSoundsPlayInBufferSizedSlots)
{
    devices.instantPlayback = true;
    SoundPlayer player(devices);
    load(player, 300000, 4000000, 8);  // 4000 bytes per millisecond: 400000-byte slots
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    auto device = devices.opened(0);
    ASSERT_EQ(device->played.size(), 2u);
    EXPECT_EQ(device->played[0].size(), static_cast<std::size_t>(SoundPlayer::PcmBufferSize));
    EXPECT_EQ(played(), ramp(300000));
}

TEST_F(SoundPlayerTest, AnAbsurdSampleRatePlaysInBufferSizedSlots)
{
    devices.instantPlayback = true;
    SoundPlayer player(devices);
    load(player, 1000, 0x7FFFFFFF, 16);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    EXPECT_EQ(played(), ramp(1000));
}

TEST_F(SoundPlayerTest, NothingLoadedEndsAtOnceWithoutTheListener)
{
    SoundPlayer player(devices);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return !player.isRunning(); }));
    player.stopPlayback();
    EXPECT_EQ(listener.calls, 0);
    EXPECT_EQ(devices.openedCount(), 0u);
}

TEST_F(SoundPlayerTest, AFailedLoadKeepsThePreviousSound)
{
    devices.instantPlayback = true;
    SoundPlayer player(devices);
    load(player, 120);
    EXPECT_EQ(player.loadWavFile("/nonexistent/greeting.wav"), 0);
    EXPECT_EQ(player.loadWavResource(1), 0);
    EXPECT_EQ(player.setWavSource(nullptr), 0);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    EXPECT_EQ(played(), ramp(120));

    // Played to its end, the same source plays nothing more but still ends with the listener.
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 2; }));
    EXPECT_EQ(played().size(), 120u);
}

TEST_F(SoundPlayerTest, AFileThatIsNotWaveLoadsAndEndsAtOnce)
{
    SoundPlayer player(devices);
    file_ = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' ', 'd', 'a', 't', 'a'};
    EXPECT_EQ(player.setWavSource(std::make_unique<MemoryStream>(file_.data(), file_.size())), 1);
    player.play(&listener, false);
    ASSERT_TRUE(waitUntil([&] { return listener.calls == 1; }));
    EXPECT_TRUE(played().empty());
}

TEST_F(SoundPlayerTest, KeyTonesPlayTheirResourcesOnTheHandset)
{
    devices.instantPlayback = true;
    devices.outputs = {"Speakers", "USB Audio Device", "Virtual Cable 1 Out"};
    SoundPlayers players(devices);
    // The answering machine looks its cable up when it answers, not at start.
    EXPECT_EQ(players.greetingPlayer().deviceId(), -1);
    EXPECT_EQ(SoundPlayers::current(), &players);

    struct Case {
        int key;
        int resource;
    };
    std::size_t opened = 0;
    for (const Case& c : {Case{10, 146}, Case{11, 144}, Case{0, 133}, Case{9, 142}}) {
        playKeyTone(c.key);
        ASSERT_TRUE(
            waitUntil([&] { return devices.openedCount() == opened + 1 && devices.opened(opened)->closed; }));
        const auto bytes = findWaveResource(c.resource);
        EXPECT_EQ(played(opened), std::vector<unsigned char>(bytes.begin() + 44, bytes.end())) << c.key;
        EXPECT_EQ(devices.opened(opened)->id, 1);
        EXPECT_EQ(devices.opened(opened)->format.samplesPerSecond, 22050u);
        ++opened;
    }
    playKeyTone(12);
    playKeyTone(-1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(devices.openedCount(), opened);
}

}  // namespace
}  // namespace tarnix
