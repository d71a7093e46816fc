#include "audio/mp3_source.h"

#include "audio/lame_encoder.h"
#include "audio/mp3_recorder.h"
#include "mp3_test_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnix {
namespace {

using Bytes = std::vector<unsigned char>;
using test::decodeAll;
using test::DecoderDelay;

std::unique_ptr<ByteStream> fileStream(const std::string& path)
{
    return FileStream::open(path);
}

// A 48000 Hz mono Layer III frame that carries no audio, only as much of the given ancillary
// bytes as it has room for.
Bytes emptyFrame(int kbps, const Bytes& ancillary)
{
    const int index = kbps == 32 ? 1 : 9;
    Bytes frame(static_cast<std::size_t>(144 * kbps * 1000 / 48000), 0);
    frame[0] = 0xFF;
    frame[1] = 0xFB;
    frame[2] = static_cast<unsigned char>(index << 4 | 0x04);
    frame[3] = 0xC4;
    const std::size_t room = std::min(ancillary.size(), frame.size() - 4 - 17);
    std::copy_n(ancillary.begin(), room, frame.begin() + 4 + 17);
    return frame;
}

void putBigEndian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

Bytes xingHeader(std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes)
{
    Bytes out{'X', 'i', 'n', 'g'};
    putBigEndian(out, flags);
    if (flags & 1) putBigEndian(out, frames);
    if (flags & 2) putBigEndian(out, bytes);
    if (flags & 4) {
        for (int i = 0; i < 100; ++i) out.push_back(static_cast<unsigned char>(i * 256 / 100));
    }
    if (flags & 8) putBigEndian(out, 50);
    return out;
}

class Mp3SourceTest : public ::testing::Test {
protected:
    // Seconds of the test signal as a message file; returns its path.
    std::string message(double seconds)
    {
        const std::string path = dir_ + "m.mp3";
        test::encodeMessage(test::testSignal(static_cast<int>(48000 * seconds)), path);
        return path;
    }

    test::TempFolder folder_;
    std::string dir_ = folder_.path();
    Mp3Source source_;
};

// Capture delivers silence, then the caller's voice; the message holds the voice from its first
// sample to its last.
TEST_F(Mp3SourceTest, RecordingDecodesBackToTheCapturedVoiceAfterItsLeadingSilence)
{
    auto calls = std::make_shared<test::FakeCaptureChannel::Calls>();
    Mp3Recorder recorder(std::make_unique<test::FakeCaptureChannel>(calls), std::make_unique<LameEncoder>());
    recorder.startRecording(dir_ + "call.mp3");
    const std::vector<std::int16_t> silence(2400, 0);
    for (int i = 0; i < 5; ++i) calls->sink->write(silence.data(), 4800);
    const auto voice = test::testSignal(48000 * 2);
    for (std::size_t at = 0; at < voice.size(); at += 2400) calls->sink->write(voice.data() + at, 4800);
    recorder.stopRecording();

    ASSERT_EQ(source_.openSource(fileStream(dir_ + "call.mp3")), 1);
    const auto decoded = decodeAll(source_);
    ASSERT_GE(decoded.size(), voice.size() + DecoderDelay);
    EXPECT_GT(test::signalToErrorDb(decoded, DecoderDelay, voice, test::EncoderScale), 25.0);
    double tailError = 0;
    for (std::size_t i = voice.size() - 480; i < voice.size(); ++i) {
        tailError += std::abs(decoded[i + DecoderDelay] - test::EncoderScale * voice[i]);
    }
    EXPECT_LT(tailError / 480, 400.0) << "the last frame must be decoded too";

    int length = 100;
    unsigned char rest[100];
    EXPECT_EQ(source_.readPcm(rest, length), 0);
    EXPECT_EQ(length, 0);
}

TEST_F(Mp3SourceTest, ReportsFormatDurationAndPlayingTime)
{
    ASSERT_EQ(source_.openSource(fileStream(message(10.0))), 1);
    SoundFormat format;
    source_.getFormat(format);
    EXPECT_EQ(format.durationSeconds, 10);
    EXPECT_EQ(format.bytesPerMillisecond, 128);
    EXPECT_EQ(format.sampleRate, 48000);
    EXPECT_EQ(format.stereo, 0);
    EXPECT_EQ(format.sixteenBit, 1);
    EXPECT_EQ(source_.elapsedSeconds(), 0);

    std::vector<unsigned char> buffer(std::size_t{96000} * 3);
    int length = static_cast<int>(buffer.size());
    ASSERT_EQ(source_.readPcm(buffer.data(), length), 1);
    EXPECT_EQ(length, 96000 * 3);
    EXPECT_EQ(source_.elapsedSeconds(), 3);

    source_.seekFraction(1, 2);
    EXPECT_EQ(source_.elapsedSeconds(), 5);
    source_.seekFraction(0, 100);
    EXPECT_EQ(source_.elapsedSeconds(), 0);
    decodeAll(source_);
    EXPECT_EQ(source_.elapsedSeconds(), 10);
    source_.getFormat(format);
    EXPECT_EQ(format.durationSeconds, 10);
}

TEST_F(Mp3SourceTest, DeliversTwoBytesPerMonoSampleAndFourPerStereoFrame)
{
    const std::string mono = message(1.0);
    const auto left = test::sineWave(48000, 440, 0.3);
    const auto right = test::sineWave(48000, 660, 0.3);
    std::vector<std::int16_t> interleaved;
    for (std::size_t i = 0; i < left.size(); ++i) {
        interleaved.push_back(left[i]);
        interleaved.push_back(right[i]);
    }
    test::writeSamples(dir_ + "stereo.raw", interleaved);
    ASSERT_TRUE(test::run(std::string(LAME_COMMAND) +
                          " --quiet -r -s 48 --bitwidth 16 --signed --little-endian -m s -b 128 --cbr -t " +
                          dir_ + "stereo.raw " + dir_ + "stereo.mp3 2>/dev/null"));

    struct Case {
        std::string path;
        int stereo;
        int request;
        int delivered;
    };
    const std::vector<Case> cases = {
        {mono, 0, 12800, 12800},
        {mono, 0, 12801, 12800},
        {dir_ + "stereo.mp3", 1, 12800, 12800},  // 3200 frames
        {dir_ + "stereo.mp3", 1, 12802, 12800},
        {mono, 0, 0, 0},
        {mono, 0, -4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.request));
        Mp3Source source;
        ASSERT_EQ(source.openSource(fileStream(c.path)), 1);
        SoundFormat format;
        source.getFormat(format);
        EXPECT_EQ(format.stereo, c.stereo);
        std::vector<unsigned char> buffer(13000);
        int length = c.request;
        EXPECT_EQ(source.readPcm(buffer.data(), length), 1);
        EXPECT_EQ(length, c.delivered);
    }
}

TEST_F(Mp3SourceTest, AudioStartsAfterAnId3Tag)
{
    const Bytes audio = test::readFile(message(1.0));
    struct Case {
        const char* name;
        Bytes head;
        std::int64_t start;  // -1: the file cannot be opened
    };
    const std::vector<Case> cases = {
        {"tag size 00 00 02 01", {'I', 'D', '3', 3, 0, 0, 0, 0, 2, 1}, 267},
        {"no tag", {}, 0},
        {"size bytes taken whole", {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0x81}, 139},
        {"tag reaching past the end", {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = c.head;
        if (c.start > 0) file.resize(static_cast<std::size_t>(c.start), 0);
        file.insert(file.end(), audio.begin(), audio.end());
        test::writeFile(dir_ + "tagged.mp3", file);
        Mp3Source source;
        ASSERT_EQ(source.openSource(fileStream(dir_ + "tagged.mp3")), c.start < 0 ? 0 : 1);
        if (c.start >= 0) {
            EXPECT_EQ(source.audioStart(), c.start);
        }
    }
    const Bytes tiny{'I', 'D', '3', 3};
    test::writeFile(dir_ + "tiny.mp3", tiny);
    Mp3Source source;
    EXPECT_EQ(source.openSource(fileStream(dir_ + "tiny.mp3")), 0);
    int length = 64;
    unsigned char buffer[64];
    EXPECT_EQ(source.readPcm(buffer, length), 0);
    EXPECT_EQ(length, 0);
}

TEST_F(Mp3SourceTest, RestartNeverPlaysTheTagAsSound)
{
    // A tag whose bytes hold two real frames: read as audio they would add 2304 samples.
    const Bytes audio = test::readFile(message(1.0));
    Bytes file{'I', 'D', '3', 3, 0, 0, 0, 0, 6, 0};
    file.insert(file.end(), audio.begin(), audio.begin() + 768);
    file.insert(file.end(), audio.begin(), audio.end());
    test::writeFile(dir_ + "tagged.mp3", file);
    ASSERT_EQ(source_.openSource(fileStream(dir_ + "tagged.mp3")), 1);
    const auto first = decodeAll(source_);
    source_.seekFraction(0, 100);
    EXPECT_EQ(decodeAll(source_).size(), first.size());
}

TEST_F(Mp3SourceTest, XingHeaderGivesTheDurationOnlyWhenWhole)
{
    const Bytes audio = test::readFile(message(5.0));
    struct Case {
        const char* name;
        int kbps;
        std::uint32_t flags;
        int duration;
        int bytesPerMillisecond;
    };
    const std::vector<Case> cases = {
        {"all fields", 128, 15, 12, 128},
        {"frame count only", 32, 1, 12, 32},
        // 600 ancillary bits cannot hold the table: the header is ignored, the next frame rules.
        {"table without room", 32, 5, 5, 128},
        {"no frame count", 128, 2, 5, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = emptyFrame(c.kbps, xingHeader(c.flags, 500, 0));
        file.insert(file.end(), audio.begin(), audio.end());
        test::writeFile(dir_ + "xing.mp3", file);
        Mp3Source source;
        ASSERT_EQ(source.openSource(fileStream(dir_ + "xing.mp3")), 1);
        SoundFormat format;
        source.getFormat(format);
        EXPECT_EQ(format.durationSeconds, c.duration);
        EXPECT_EQ(format.bytesPerMillisecond, c.bytesPerMillisecond);
    }
}

TEST_F(Mp3SourceTest, SeekingFollowsTheXingTableAndIgnoresBadFractions)
{
    const Bytes audio = test::readFile(message(5.0));
    Bytes file = emptyFrame(128, xingHeader(15, 500, 0));
    file.insert(file.end(), audio.begin(), audio.end());
    test::writeFile(dir_ + "xing.mp3", file);
    ASSERT_EQ(source_.openSource(fileStream(dir_ + "xing.mp3")), 1);

    struct Case {
        int numerator;
        int denominator;
        int elapsed;
    };
    const std::vector<Case> cases = {{1, 2, 6},  {1, 4, 3},   {0, 100, 0}, {5, 0, 0},
                                     {1, -3, 0}, {-7, 10, 0}, {30, 10, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.numerator) + "/" + std::to_string(c.denominator));
        source_.seekFraction(0, 100);
        source_.seekFraction(c.numerator, c.denominator);
        EXPECT_EQ(source_.elapsedSeconds(), c.elapsed);
        std::vector<unsigned char> buffer(12800);
        int length = 12800;
        source_.readPcm(buffer.data(), length);
    }
}

TEST(Mp3SourceOpen, RefusesStreamsWithoutAnyFrame)
{
    const std::string text = "no frames here, only words\n";
    std::vector<std::pair<const char*, std::unique_ptr<ByteStream>>> streams;
    streams.emplace_back("null", nullptr);
    streams.emplace_back("empty", std::make_unique<MemoryStream>(text.data(), 0));
    streams.emplace_back("text", std::make_unique<MemoryStream>(text.data(), text.size()));
    for (auto& [name, stream] : streams) {
        SCOPED_TRACE(name);
        Mp3Source source;
        EXPECT_EQ(source.openSource(std::move(stream)), 0);
        SoundFormat format;
        source.getFormat(format);
        EXPECT_EQ(format.bytesPerMillisecond, 0);
        int length = 10;
        unsigned char buffer[10];
        EXPECT_EQ(source.readPcm(buffer, length), 0);
        EXPECT_EQ(length, 0);
        source.seekFraction(1, 2);
        EXPECT_EQ(source.elapsedSeconds(), 0);
    }
}

}  // namespace
}  // namespace tarnix
