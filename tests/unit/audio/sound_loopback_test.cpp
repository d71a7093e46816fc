#include "audio/sound_loopback.h"

#include "fake_wave_devices.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace tarnix {
namespace {

using test::FakeWaveDevices;
using test::waitUntil;

std::vector<std::int16_t> samples(std::size_t n, std::int16_t a, std::int16_t b)
{
    std::vector<std::int16_t> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = i % 2 == 0 ? a : b;
    return out;
}

int levelOf(const std::vector<std::int16_t>& block, int bytes = -1)
{
    return SoundLoopback::level(block.data(), bytes < 0 ? int(block.size() * 2) : bytes);
}

TEST(SoundLoopback, LevelReadsSignedSamples)
{
    EXPECT_EQ(levelOf(samples(240, 0, 0)), 0) << "silence";
    // Quiet noise around zero read as unsigned would be nearly full scale.
    EXPECT_EQ(levelOf(samples(240, -1, 0)), 0);
    EXPECT_EQ(levelOf(samples(240, 32767, -32768)), 100);
    // Speech at about -30 dB full scale sits in the middle of the bar.
    EXPECT_EQ(levelOf(samples(240, 1036, -1036)), 50);
    EXPECT_LT(levelOf(samples(240, 300, -300)), levelOf(samples(240, 3000, -3000)));
    EXPECT_EQ(levelOf(samples(1, 30000, 0), 1), 0) << "less than one sample";
}

class SoundLoopbackTest : public ::testing::Test {
protected:
    SoundLoopbackTest()
    {
        devices.outputs = {"USB Audio Device"};
        devices.inputs = {"USB Audio Device"};
    }

    FakeWaveDevices devices;
    std::atomic<int> levels{0};
    SoundLoopback loopback{devices, [this](int) { ++levels; }};
};

TEST_F(SoundLoopbackTest, OpensTheOutputFirstAndSkipsEmptyBlocks)
{
    devices.instantPlayback = true;
    ASSERT_TRUE(loopback.start(0, 0));
    ASSERT_EQ(devices.openedCount(), 2u);
    auto output = devices.opened(0);
    auto input = devices.opened(1);
    EXPECT_EQ(output->format.samplesPerSecond, 8000u);
    EXPECT_EQ(output->format.blockAlign, 2);

    EXPECT_EQ(loopback.write(nullptr, 0), 1);
    EXPECT_EQ(levels, 0);
    EXPECT_TRUE(output->playedBytes().empty());

    ASSERT_TRUE(waitUntil([&] { return input->heldCount() > 0; }));
    input->completeNext();
    ASSERT_TRUE(waitUntil([&] { return levels == 1; }));
    EXPECT_EQ(output->playedBytes().size(), std::size_t(SoundLoopback::BufferSize));

    loopback.stop();
    EXPECT_FALSE(loopback.running());
    EXPECT_TRUE(input->closed);
    EXPECT_TRUE(output->closed);
}

// An earpiece that takes nothing more: each block waits about a second, and stopping does not
// wait for it.
TEST_F(SoundLoopbackTest, AFullEarpieceDropsBlocksAndStopsAtOnce)
{
    ASSERT_TRUE(loopback.start(0, 0));
    auto output = devices.opened(0);
    auto input = devices.opened(1);
    const int full = SoundLoopback::BufferCount;
    for (int block = 0; block < full + 2; ++block) {
        ASSERT_TRUE(waitUntil([&] { return input->heldCount() > 0; })) << block;
        input->completeNext();
        if (block < full) {
            ASSERT_TRUE(waitUntil([&] { return levels == block + 1; })) << block;
        }
    }
    // The first block that found no room is given up after its retries.
    ASSERT_TRUE(waitUntil([&] { return levels == full + 1; }, std::chrono::milliseconds(3000)));
    EXPECT_EQ(output->heldCount(), std::size_t(full));

    // The next one is waiting for room now.
    const auto before = std::chrono::steady_clock::now();
    loopback.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before,
              std::chrono::milliseconds(SoundLoopback::RetryLimitMs / 2));
    EXPECT_TRUE(input->closed);
    EXPECT_TRUE(output->closed);
}

}  // namespace
}  // namespace tarnix
