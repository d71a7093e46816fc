#include "audio/sound_in_channel.h"
#include "audio/sound_out_channel.h"
#include "fake_wave_devices.h"
#include "recording_sound_sink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnix {
namespace {

using test::FakeWaveDevices;
using test::RecordingSoundSink;
using test::waitUntil;

std::pair<int, int> firstByteAndLength(const RecordingSoundSink::Block& block)
{
    return {block.empty() ? -1 : block.front(), static_cast<int>(block.size())};
}

void settle()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

TEST(PcmFormat, DerivesBlockAlignmentAndByteRate)
{
    struct Case {
        int channels, rate, bits, blockAlign, bytesPerSecond;
    };
    for (const Case& c :
         {Case{2, 44100, 16, 4, 176400}, Case{1, 11025, 8, 1, 11025}, Case{1, 48000, 16, 2, 96000}}) {
        const PcmFormat format = PcmFormat::linear(c.channels, c.rate, c.bits);
        EXPECT_EQ(format.formatTag, 1);
        EXPECT_EQ(format.blockAlign, c.blockAlign);
        EXPECT_EQ(format.avgBytesPerSecond, static_cast<std::uint32_t>(c.bytesPerSecond));
        EXPECT_EQ(format.extraSize, 0);
    }
}

TEST(WorkerThread, StopOfANeverStartedChannelReturnsZero)
{
    FakeWaveDevices devices;
    SoundInChannel in(devices);
    SoundOutChannel out(devices);
    EXPECT_EQ(in.stop(), 0);
    EXPECT_EQ(out.stop(), 0);
    EXPECT_FALSE(in.isRunning());
    EXPECT_EQ(devices.openedCount(), 0u);
}

// A body that pauses for an hour between passes, as a player pauses between blocks.
class NappingWorker final : public WorkerThread {
public:
    ~NappingWorker() override { stop(); }
    std::atomic<int> passes{0};

protected:
    void run() override
    {
        while (!stopRequested()) {
            ++passes;
            sleepMs(3600 * 1000);
        }
    }
};

TEST(WorkerThread, StopEndsAPauseAndTheThreadRunsAgainAfterwards)
{
    NappingWorker worker;
    for (int round = 1; round <= 2; ++round) {
        ASSERT_EQ(worker.start(), 1);
        while (worker.passes < round) std::this_thread::yield();
        EXPECT_EQ(worker.stop(), 1);  // would hang for the hour if the pause ignored it
        EXPECT_FALSE(worker.isRunning());
    }
}

TEST(SoundInChannel, HandsOnSlotsStrictlyInRingOrder)
{
    FakeWaveDevices devices;
    RecordingSoundSink sink;
    SoundInChannel channel(devices);
    channel.setBuffers(64, 4);
    channel.setSink(&sink);
    ASSERT_EQ(channel.open(0, 1, 8000, 16), 1);
    auto device = devices.opened(0);
    ASSERT_TRUE(waitUntil([&] { return device->heldCount() == 4; }));

    // The second buffer finishes first: nothing may be handed on before the first.
    device->completeAt(1);
    settle();
    EXPECT_TRUE(sink.blocks().empty());

    device->completeAt(0);
    ASSERT_TRUE(waitUntil([&] { return sink.blocks().size() == 2; }));
    const auto blocks = sink.blocks();
    EXPECT_EQ(firstByteAndLength(blocks[0]), std::make_pair(2, 64));  // filled second
    EXPECT_EQ(firstByteAndLength(blocks[1]), std::make_pair(1, 64));  // filled first, but later in the ring
    channel.close();
}

TEST(SoundInChannel, QueuesNoMoreThanTheRingHoldsUntilOneIsHandedOn)
{
    FakeWaveDevices devices;
    RecordingSoundSink sink;
    SoundInChannel channel(devices);
    channel.setBuffers(32, 3);
    channel.setSink(&sink);
    channel.open(0, 1, 8000, 16);
    auto device = devices.opened(0);
    ASSERT_TRUE(waitUntil([&] { return device->heldCount() == 3; }));
    settle();
    EXPECT_EQ(device->heldCount(), 3u);

    device->completeNext();
    ASSERT_TRUE(waitUntil([&] { return sink.blocks().size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return device->heldCount() == 3; }));
    channel.close();
}

TEST(SoundInChannel, RetriesAFailedAddOnTheSameSlot)
{
    FakeWaveDevices devices;
    RecordingSoundSink sink;
    SoundInChannel channel(devices);
    channel.setBuffers(16, 2);
    channel.setSink(&sink);
    channel.open(0, 1, 8000, 16);
    auto device = devices.opened(0);
    {
        std::lock_guard guard(device->lock);
        device->addFailures = 2;
    }
    ASSERT_TRUE(waitUntil([&] { return device->heldCount() == 2; }));
    device->completeNext(2);
    ASSERT_TRUE(waitUntil([&] { return sink.blocks().size() == 2; }));
    EXPECT_EQ(sink.blocks()[0].front(), 1);
    EXPECT_EQ(sink.blocks()[1].front(), 2);
    channel.close();
}

TEST(SoundInChannel, OpenOnTheSameDeviceKeepsTheFirstFormatAndThread)
{
    FakeWaveDevices devices;
    SoundInChannel channel(devices);
    channel.setBuffers(32, 2);
    ASSERT_EQ(channel.open(3, 1, 8000, 16), 1);
    EXPECT_EQ(channel.open(3, 2, 44100, 16), 1);
    EXPECT_EQ(devices.openedCount(), 1u);
    EXPECT_EQ(devices.opened(0)->format.samplesPerSecond, 8000u);

    // Another device: the first is shut and closed by its thread before the second opens.
    EXPECT_EQ(channel.open(5, 1, 8000, 16), 1);
    ASSERT_EQ(devices.openedCount(), 2u);
    EXPECT_TRUE(devices.opened(0)->closed);
    EXPECT_EQ(devices.opened(1)->id, 5);
    channel.close();
    EXPECT_TRUE(devices.opened(1)->closed);
    EXPECT_FALSE(channel.isRunning());
}

TEST(SoundInChannel, ShutdownWaitsOutStillPlayingAnswersInOrder)
{
    FakeWaveDevices devices;
    SoundInChannel channel(devices);
    channel.setBuffers(32, 2);
    channel.open(0, 1, 8000, 16);
    auto device = devices.opened(0);
    ASSERT_TRUE(waitUntil([&] { return device->heldCount() == 2; }));
    {
        std::lock_guard guard(device->lock);
        device->unprepareBusyAnswers = 2;
        device->closeBusyAnswers = 1;
    }
    channel.close();
    const std::vector<std::string> expected = {"start",     "stop",      "reset",     "unprepare",
                                               "unprepare", "unprepare", "unprepare", "close",
                                               "stop",      "reset",     "close"};
    EXPECT_EQ(device->callLog(), expected);
    EXPECT_TRUE(device->closed);
}

TEST(SoundInChannel, WithoutADeviceTheThreadRunsAndQueuesNothing)
{
    FakeWaveDevices devices;
    devices.failOpen = true;
    RecordingSoundSink sink;
    SoundInChannel channel(devices);
    channel.setBuffers(32, 2);
    channel.setSink(&sink);
    EXPECT_EQ(channel.open(0, 1, 8000, 16), 1);
    EXPECT_TRUE(channel.isRunning());
    // Opening the same device again must not start a second thread over the ring.
    EXPECT_EQ(channel.open(0, 1, 8000, 16), 1);
    settle();
    EXPECT_TRUE(sink.blocks().empty());
    EXPECT_EQ(channel.close(), 1);
    EXPECT_FALSE(channel.isRunning());
}

TEST(SoundOutChannel, FullRingRefusesWritesUntilASlotIsPlayed)
{
    FakeWaveDevices devices;
    SoundOutChannel channel(devices);
    channel.setBuffers(8, 2);
    ASSERT_EQ(channel.open(0, 1, 8000, 16), 1);
    auto device = devices.opened(0);
    EXPECT_TRUE(channel.allDone());

    const unsigned char a[8] = {1}, b[8] = {2}, c[8] = {3};
    EXPECT_EQ(channel.write(a, 8), 1);
    EXPECT_FALSE(channel.allDone());
    EXPECT_EQ(channel.write(b, 8), 1);
    EXPECT_EQ(channel.write(c, 8), 0);
    EXPECT_EQ(device->heldCount(), 2u);

    device->completeNext();
    EXPECT_EQ(channel.write(c, 8), 1);
    EXPECT_FALSE(channel.allDone());
    device->completeNext(2);
    EXPECT_TRUE(channel.allDone());
    ASSERT_EQ(device->played.size(), 3u);
    EXPECT_EQ(device->played[2][0], 3);
    channel.close();
}

TEST(SoundOutChannel, SplitsALongBlockIntoSlotSizedPieces)
{
    FakeWaveDevices devices;
    SoundOutChannel channel(devices);
    channel.setBuffers(4, 3);
    channel.open(0, 1, 8000, 8);
    const unsigned char block[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(channel.write(block, 10), 1);
    auto device = devices.opened(0);
    ASSERT_EQ(device->played.size(), 3u);
    EXPECT_EQ(device->played[0], (std::vector<unsigned char>{0, 1, 2, 3}));
    EXPECT_EQ(device->played[2], (std::vector<unsigned char>{8, 9}));
    channel.close();
}

TEST(SoundOutChannel, WithoutADeviceWritesFillTheRingAndNeverComplete)
{
    FakeWaveDevices devices;
    devices.failOpen = true;
    SoundOutChannel channel(devices);
    channel.setBuffers(4, 2);
    channel.open(0, 1, 8000, 16);
    const unsigned char block[4] = {};
    EXPECT_EQ(channel.write(block, 4), 1);
    EXPECT_EQ(channel.write(block, 4), 1);
    EXPECT_EQ(channel.write(block, 4), 0);
    EXPECT_FALSE(channel.allDone());
    channel.close();
    EXPECT_TRUE(channel.allDone());
}

TEST(SoundOutChannel, CloseResetsThePlayingRing)
{
    FakeWaveDevices devices;
    SoundOutChannel channel(devices);
    channel.setBuffers(4, 2);
    channel.open(1, 2, 44100, 16);
    const unsigned char block[4] = {};
    channel.write(block, 4);
    auto device = devices.opened(0);
    {
        std::lock_guard guard(device->lock);
        device->closeBusyAnswers = 2;
    }
    channel.close();
    EXPECT_TRUE(device->closed);
    EXPECT_EQ(device->callLog().front(), "pause");
    EXPECT_TRUE(channel.allDone());
}

}  // namespace
}  // namespace tarnix
