#include "audio/wav_source.h"
#include "audio/wave_resources.h"
#include "wav_bytes.h"

#include <gtest/gtest.h>

namespace tarnix {
namespace {

using test::ramp;
using test::WavBytes;

struct Opened {
    std::vector<unsigned char> bytes;
    WavSource source;
    int result = 0;
    explicit Opened(std::vector<unsigned char> file) : bytes(std::move(file))
    {
        result = source.openSource(std::make_unique<MemoryStream>(bytes.data(), bytes.size()));
    }
    std::vector<unsigned char> readAll(int chunk = 7)
    {
        std::vector<unsigned char> out;
        std::vector<unsigned char> buffer(static_cast<std::size_t>(chunk));
        for (;;) {
            int length = chunk;
            if (source.readPcm(buffer.data(), length) == 0 || length == 0) break;
            out.insert(out.end(), buffer.begin(), buffer.begin() + length);
        }
        return out;
    }
};

TEST(WavSource, WalksChunksToTheSoundData)
{
    struct Case {
        const char* what;
        std::vector<unsigned char> file;
        std::vector<unsigned char> data;
    };
    const Case cases[] = {
        {"plain", WavBytes().format(1, 22050, 16).chunk("data", ramp(10)).file(), ramp(10)},
        {"data before fmt",
         WavBytes().chunk("data", ramp(6)).format(1, 8000, 8).chunk("LIST", ramp(4)).file(), ramp(6)},
        {"odd unknown chunk with its pad",
         WavBytes().chunk("LIST", ramp(3)).format(2, 44100, 16).chunk("data", ramp(8)).file(), ramp(8)},
        {"14-byte fmt", WavBytes().format(1, 8000, 8, 14).chunk("data", ramp(5)).file(), ramp(5)},
        {"40-byte fmt", WavBytes().format(1, 8000, 16, 40).chunk("data", ramp(4)).file(), ramp(4)},
        {"no data chunk", WavBytes().format(1, 8000, 16).file(), {}},
        {"empty data stops the walk",
         WavBytes().format(1, 8000, 16).chunk("data", {}).chunk("data", ramp(4)).file(),
         {}},
    };
    for (const Case& c : cases) {
        Opened wav(c.file);
        EXPECT_EQ(wav.result, 1) << c.what;
        EXPECT_EQ(wav.readAll(), c.data) << c.what;
    }
}

TEST(WavSource, ReadsAtMostEighteenFormatBytes)
{
    Opened sixteen(WavBytes().format(2, 44100, 16, 16).chunk("data", ramp(4)).file());
    EXPECT_EQ(sixteen.source.formatBlock().extraSize, 0);  // the 16 bytes only
    Opened forty(WavBytes().format(2, 44100, 16, 40).chunk("data", ramp(4)).file());
    EXPECT_EQ(forty.source.formatBlock().extraSize, 0xEEEE);
    EXPECT_EQ(forty.source.formatBlock().channels, 2);
    EXPECT_EQ(forty.source.dataOffset(), 12 + 8 + 40 + 8);
}

TEST(WavSource, RefusesWhatIsNotRiffWave)
{
    const std::vector<std::vector<unsigned char>> files = {
        {'R', 'I', 'F'},
        {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
        {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '},
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        Opened wav(files[i]);
        EXPECT_EQ(wav.result, 0) << i;
        int length = 10;
        unsigned char buffer[10];
        EXPECT_EQ(wav.source.readPcm(buffer, length), 0);
        EXPECT_EQ(length, 0);
    }
    std::vector<unsigned char> shortFormat = WavBytes().chunk("fmt ", ramp(13)).file();
    EXPECT_EQ(Opened(shortFormat).result, 0);
}

TEST(WavSource, DerivesTheFormatThePlayerUses)
{
    Opened tone(
        WavBytes().format(1, 22050, 16).chunk("data", std::vector<unsigned char>(44100 * 2 + 10)).file());
    SoundFormat format;
    tone.source.getFormat(format);
    EXPECT_EQ(format.bytesPerMillisecond, 44);  // slots of 4400 bytes
    EXPECT_EQ(format.sampleRate, 22050);
    EXPECT_EQ(format.stereo, 0);
    EXPECT_EQ(format.sixteenBit, 1);
    EXPECT_EQ(format.durationSeconds, 3);

    // Any other channel count plays as mono, any other sample size as 8 bits.
    Opened odd(WavBytes().format(6, 8000, 24).chunk("data", ramp(4)).file());
    odd.source.getFormat(format);
    EXPECT_EQ(format.stereo, 0);
    EXPECT_EQ(format.sixteenBit, 0);

    // A format without a data rate must not divide by zero.
    Opened zero(WavBytes().format(1, 0, 16).chunk("data", ramp(4)).file());
    zero.source.getFormat(format);
    EXPECT_EQ(format.durationSeconds, 0);
    EXPECT_EQ(zero.source.elapsedSeconds(), 0);
}

TEST(WavSource, SeeksToEvenOffsetsWithinTheData)
{
    Opened wav(WavBytes().format(1, 1000, 16).chunk("data", ramp(100)).file());
    wav.readAll();
    wav.source.seekFraction(0, 100);
    EXPECT_EQ(wav.readAll(), ramp(100));
    wav.source.seekFraction(1, 2);  // 50 + 1, made even
    const std::vector<unsigned char> rest = wav.readAll();
    ASSERT_EQ(rest.size(), 50u);
    EXPECT_EQ(rest[0], 51);
    EXPECT_EQ(wav.source.elapsedSeconds(), 0);
    wav.source.seekFraction(1, 0);  // ignored
}

TEST(WavSource, BuiltInTonesAreShortMonoSixteenBitSounds)
{
    std::vector<int> ids(std::begin(KeyToneResources), std::end(KeyToneResources));
    ids.push_back(ClickToneResource);
    EXPECT_EQ(ids.size(), 13u);
    for (int id : ids) {
        const auto bytes = findWaveResource(id);
        ASSERT_GE(bytes.size(), 3500u) << id;
        EXPECT_LE(bytes.size(), 3700u) << id;
        WavSource source;
        ASSERT_EQ(source.openSource(std::make_unique<MemoryStream>(bytes.data(), bytes.size())), 1);
        SoundFormat format;
        source.getFormat(format);
        EXPECT_EQ(format.sampleRate, 22050);
        EXPECT_EQ(format.stereo, 0);
        EXPECT_EQ(format.sixteenBit, 1);
        EXPECT_NEAR(static_cast<double>(source.dataLength()) / 44100.0, 0.080, 0.001);
    }
    EXPECT_TRUE(findWaveResource(143).empty());
}

}  // namespace
}  // namespace tarnix
