#include "audio/mp3_recorder.h"

#include "audio/lame_encoder.h"
#include "audio/sound_in_channel.h"
#include "fake_wave_devices.h"
#include "mp3_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace tarnix {
namespace {

using test::FakeCaptureChannel;

// Emits, per chunk, a marker byte and the chunk's sample count, so the file shows what was encoded.
class FakeEncoder final : public Mp3Encoder {
public:
    struct Script {
        unsigned long initResult = 0;
        int failingChunk = -1;  // 0-based chunk whose encoding fails
        unsigned long deinitResult = 0;
        int chunkOutputBytes = 3;
        int initCalls = 0;
        std::vector<int> chunks;
        int deinitCalls = 0;
        int closeCalls = 0;
        // Counted after each chunk: a test thread may wait on it while capture runs.
        std::atomic<int> encoded{0};
    };

    explicit FakeEncoder(std::shared_ptr<Script> script) : script_(std::move(script)) {}

    unsigned long initStream() override
    {
        ++script_->initCalls;
        open_ = script_->initResult == 0;
        return script_->initResult;
    }
    unsigned long encodeChunk(const std::int16_t*, int count, unsigned char* out, int capacity,
                              int& written) override
    {
        EXPECT_EQ(capacity, Mp3Recorder::OutputBytes);
        const int index = static_cast<int>(script_->chunks.size());
        script_->chunks.push_back(count);
        if (index == script_->failingChunk) {
            written = 0;
            return 5;
        }
        written = script_->chunkOutputBytes;
        std::fill(out, out + written, static_cast<unsigned char>('A' + index));
        ++script_->encoded;
        return 0;
    }
    unsigned long deinitStream(unsigned char* out, int, int& written) override
    {
        ++script_->deinitCalls;
        written = 1;
        out[0] = 'Z';
        return script_->deinitResult;
    }
    void closeStream() override
    {
        ++script_->closeCalls;
        open_ = false;
    }
    bool hasStream() const override { return open_; }

private:
    std::shared_ptr<Script> script_;
    bool open_ = false;
};

class Mp3RecorderTest : public ::testing::Test {
protected:
    Mp3RecorderTest()
        : recorder_(std::make_unique<FakeCaptureChannel>(calls_), std::make_unique<FakeEncoder>(script_))
    {
    }

    int feed(std::vector<std::int16_t> samples)
    {
        return recorder_.write(samples.data(), static_cast<int>(samples.size() * 2));
    }
    static std::vector<std::int16_t> silence() { return std::vector<std::int16_t>(2400, 0); }
    static std::vector<std::int16_t> oneNonZeroByte()
    {
        auto block = silence();
        block[1200] = 1;
        return block;
    }
    std::string fileText(const std::string& path)
    {
        const auto bytes = test::readFile(path);
        return std::string(bytes.begin(), bytes.end());
    }

    test::TempFolder folder_;
    std::string dir_ = folder_.path();
    std::shared_ptr<FakeCaptureChannel::Calls> calls_ = std::make_shared<FakeCaptureChannel::Calls>();
    std::shared_ptr<FakeEncoder::Script> script_ = std::make_shared<FakeEncoder::Script>();
    Mp3Recorder recorder_;
};

TEST_F(Mp3RecorderTest, RecordingCapturesFortyEightKilohertzMonoIntoItself)
{
    EXPECT_EQ(calls_->bufferSize, 4800);
    EXPECT_EQ(calls_->bufferCount, 8);
    recorder_.setInputDevice(3);
    EXPECT_EQ(recorder_.startRecording(dir_ + "m.mp3"), 1);
    EXPECT_TRUE(recorder_.isRecording());
    EXPECT_EQ(calls_->sink, &recorder_);
    EXPECT_EQ(calls_->device, 3);
    EXPECT_EQ(calls_->channels, 1);
    EXPECT_EQ(calls_->rate, 48000);
    EXPECT_EQ(calls_->bits, 16);
    recorder_.stopRecording();
    EXPECT_FALSE(recorder_.isRecording());
    EXPECT_EQ(calls_->closes, 1);
    EXPECT_EQ(script_->closeCalls, 1);
}

TEST_F(Mp3RecorderTest, LeadingSilenceIsDroppedButLaterSilenceIsKept)
{
    recorder_.startRecording(dir_ + "m.mp3");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(feed(silence()), 1);
        EXPECT_EQ(recorder_.bytesAccepted(), 0u);
    }
    EXPECT_EQ(feed(oneNonZeroByte()), 1);
    EXPECT_EQ(feed(silence()), 1);
    EXPECT_EQ(recorder_.bytesAccepted(), 9600u);
    EXPECT_EQ(script_->chunks, (std::vector<int>{2400, 2400}));
    recorder_.stopRecording();
    EXPECT_EQ(fileText(dir_ + "m.mp3"), "AAABBBZ");
}

TEST_F(Mp3RecorderTest, StopWithoutStartOnlyClosesTheIdleChannel)
{
    recorder_.stopRecording();
    EXPECT_EQ(calls_->closes, 1);
    EXPECT_EQ(script_->initCalls, 0);
    EXPECT_EQ(script_->deinitCalls, 0);
    EXPECT_EQ(script_->closeCalls, 0);
}

TEST_F(Mp3RecorderTest, RecordingsInARowEachGetAWholeFileAndFreshTrimming)
{
    recorder_.startRecording(dir_ + "first.mp3");
    feed(oneNonZeroByte());
    recorder_.stopRecording();
    recorder_.startRecording(dir_ + "second.mp3");
    EXPECT_EQ(recorder_.bytesAccepted(), 0u);
    feed(silence());
    feed(oneNonZeroByte());
    recorder_.stopRecording();
    EXPECT_EQ(fileText(dir_ + "first.mp3"), "AAAZ");
    EXPECT_EQ(fileText(dir_ + "second.mp3"), "BBBZ");
    EXPECT_EQ(script_->initCalls, 2);
    EXPECT_EQ(script_->deinitCalls, 2);
}

TEST_F(Mp3RecorderTest, StartingWhileRecordingFinishesTheRunningFileFirst)
{
    recorder_.startRecording(dir_ + "first.mp3");
    feed(oneNonZeroByte());
    recorder_.startRecording(dir_ + "second.mp3");
    EXPECT_EQ(calls_->closes, 1);  // capture stopped before the file changed
    feed(oneNonZeroByte());
    recorder_.stopRecording();
    EXPECT_EQ(fileText(dir_ + "first.mp3"), "AAAZ");
    EXPECT_EQ(fileText(dir_ + "second.mp3"), "BBBZ");
}

TEST_F(Mp3RecorderTest, EncoderFailureIsReportedOnceAndTheFileKeepsWhatWasWritten)
{
    script_->failingChunk = 1;
    recorder_.startRecording(dir_ + "m.mp3");
    testing::internal::CaptureStderr();
    EXPECT_EQ(feed(oneNonZeroByte()), 1);
    EXPECT_EQ(feed(oneNonZeroByte()), 0);
    EXPECT_EQ(feed(oneNonZeroByte()), 1);  // counted and dropped
    EXPECT_EQ(recorder_.bytesAccepted(), 3u * 4800);
    recorder_.stopRecording();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "beEncodeChunk() failed (5)\n");
    EXPECT_EQ(script_->chunks.size(), 2u);
    EXPECT_EQ(script_->deinitCalls, 0);
    EXPECT_EQ(fileText(dir_ + "m.mp3"), "AAA");
    EXPECT_FALSE(recorder_.isRecording());
}

TEST_F(Mp3RecorderTest, FailuresPrintTheirTextsOnStandardErrorOnly)
{
    struct Case {
        const char* name;
        unsigned long initResult;
        unsigned long deinitResult;
        std::string path;
        int chunkOutputBytes;
        std::string printed;
        std::size_t chunksEncoded;
    };
    const std::vector<Case> cases = {
        {"stream cannot open", 3, 0, "/m.mp3", 3, "Error opening encoding stream (3)\n", 0},
        {"flush fails", 0, 4, "/m.mp3", 3, "beExitStream failed (4)\n", 1},
        {"folder missing", 0, 0, "/no/such/folder/m.mp3", 3, "", 0},
        // A chunk larger than the stdio buffer reaches the device at once and fails there.
        {"disk full", 0, 0, "/dev/full", 16384, "Output file write error\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto script = std::make_shared<FakeEncoder::Script>();
        script->initResult = c.initResult;
        script->deinitResult = c.deinitResult;
        script->chunkOutputBytes = c.chunkOutputBytes;
        Mp3Recorder recorder(std::make_unique<FakeCaptureChannel>(), std::make_unique<FakeEncoder>(script));
        const std::string path = c.path.starts_with("/m") ? dir_ + c.path.substr(1) : c.path;
        testing::internal::CaptureStderr();
        recorder.startRecording(path);
        auto block = oneNonZeroByte();
        recorder.write(block.data(), 4800);
        recorder.stopRecording();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.printed);
        EXPECT_EQ(script->chunks.size(), c.chunksEncoded);
        EXPECT_EQ(recorder.bytesAccepted(), 4800u);
    }
}

TEST(Mp3RecorderCapture, EncodesEveryBlockItsInputChannelCaptures)
{
    test::FakeWaveDevices devices;
    devices.inputs = {"Microphone", "Virtual Cable 2 In"};
    auto script = std::make_shared<FakeEncoder::Script>();
    Mp3Recorder recorder(std::make_unique<SoundInChannel>(devices), std::make_unique<FakeEncoder>(script));
    const test::TempFolder folder;
    const std::string& dir = folder.path();
    recorder.setInputDevice(1);
    recorder.startRecording(dir + "m.mp3");
    ASSERT_TRUE(
        test::waitUntil([&] { return devices.openedCount() == 1 && devices.opened(0)->heldCount() == 8; }));
    auto device = devices.opened(0);
    EXPECT_EQ(device->id, 1);
    EXPECT_EQ(device->format.channels, 1);
    EXPECT_EQ(device->format.samplesPerSecond, 48000u);
    EXPECT_EQ(device->format.bitsPerSample, 16);

    // The device fills each buffer with one non-zero byte value: nothing is trimmed.
    device->completeNext(3);
    ASSERT_TRUE(test::waitUntil([&] { return script->encoded == 3; }));
    recorder.stopRecording();
    EXPECT_TRUE(device->closed);
    EXPECT_EQ(script->chunks, (std::vector<int>{2400, 2400, 2400}));
    EXPECT_EQ(recorder.bytesAccepted(), 3u * 4800);
    const auto file = test::readFile(dir + "m.mp3");
    EXPECT_EQ(std::string(file.begin(), file.end()), "AAABBBCCCZ");
}

// Every frame of a message: MPEG-1 Layer III, no CRC, 128 kbit/s, 48000 Hz, no padding, mono,
// not copyrighted, original, no emphasis.
TEST(Mp3RecorderStream, IsConstantRateMonoAndByteIdenticalToTheLameCommand)
{
    const test::TempFolder folder;
    const std::string& dir = folder.path();
    const auto samples = test::testSignal(48000 * 3 + 1234);
    test::encodeMessage(samples, dir + "ours.mp3");
    test::writeSamples(dir + "in.raw", samples);
    ASSERT_TRUE(test::run(std::string(LAME_COMMAND) +
                          " --quiet -r -s 48 --bitwidth 16 --signed --little-endian -m m --r3mix -b 128 --cbr"
                          " --nores -t " +
                          dir + "in.raw " + dir + "lame.mp3"));
    const auto ours = test::readFile(dir + "ours.mp3");
    ASSERT_EQ(ours, test::readFile(dir + "lame.mp3"));

    ASSERT_EQ(ours.size() % 384, 0u);
    ASSERT_GE(ours.size() / 384, samples.size() / 1152);
    for (std::size_t at = 0; at < ours.size(); at += 384) {
        ASSERT_EQ(ours[at], 0xFF) << at;
        ASSERT_EQ(ours[at + 1], 0xFB) << at;
        ASSERT_EQ(ours[at + 2], 0x94) << at;
        ASSERT_EQ(ours[at + 3], 0xC4) << at;
    }
}

}  // namespace
}  // namespace tarnix
