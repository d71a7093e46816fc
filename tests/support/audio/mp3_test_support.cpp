#include "mp3_test_support.h"

#include "audio/lame_encoder.h"
#include "audio/mp3_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <random>

namespace tarnix::test {

std::vector<std::int16_t> sineWave(int samples, double hz, double amplitude, int rate)
{
    std::vector<std::int16_t> out(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        out[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
            std::lround(amplitude * 32767 * std::sin(2 * std::numbers::pi * hz * i / rate)));
    }
    return out;
}

std::vector<std::int16_t> testSignal(int samples)
{
    // A tone that glides through the speech band, with a little noise: every encoder stage works.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-300, 300);
    std::vector<std::int16_t> out(static_cast<std::size_t>(samples));
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        const double hz = 200 + 3000.0 * i / samples;
        phase += 2 * std::numbers::pi * hz / 48000;
        out[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(12000 * std::sin(phase) + noise(random));
    }
    return out;
}

void encodeMessage(const std::vector<std::int16_t>& samples, const std::string& path)
{
    Mp3Recorder recorder(std::make_unique<FakeCaptureChannel>(), std::make_unique<LameEncoder>());
    ASSERT_EQ(recorder.openEncoder(path), 1);
    constexpr std::size_t block = Mp3Recorder::BlockBytes / 2;
    for (std::size_t at = 0; at < samples.size(); at += block) {
        const std::size_t n = std::min(block, samples.size() - at);
        ASSERT_EQ(recorder.encodeBlock(samples.data() + at, static_cast<int>(n * 2)), 1);
    }
    recorder.finishEncoder();
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeSamples(const std::string& path, const std::vector<std::int16_t>& samples)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(samples.data()),
              static_cast<std::streamsize>(samples.size() * 2));
}

std::vector<std::int16_t> toSamples(const std::vector<unsigned char>& bytes)
{
    std::vector<std::int16_t> out(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return out;
}

std::vector<std::int16_t> decodeAll(Mp3Source& source, int chunk)
{
    std::vector<unsigned char> buffer(static_cast<std::size_t>(chunk));
    std::vector<unsigned char> all;
    for (;;) {
        int length = chunk;
        const int more = source.readPcm(buffer.data(), length);
        all.insert(all.end(), buffer.begin(), buffer.begin() + length);
        if (more == 0) {
            EXPECT_EQ(length, 0);
            return toSamples(all);
        }
    }
}

double signalToErrorDb(const std::vector<std::int16_t>& decoded, std::size_t offset,
                       const std::vector<std::int16_t>& input, double scale)
{
    EXPECT_GE(decoded.size(), offset + input.size());
    double error = 0;
    double power = 0;
    for (std::size_t i = 0; i < input.size() && offset + i < decoded.size(); ++i) {
        const double expected = scale * input[i];
        error += std::pow(decoded[offset + i] - expected, 2);
        power += expected * expected;
    }
    return 10 * std::log10(power / std::max(error, 1.0));
}

bool run(const std::string& commandLine)
{
    return std::system(commandLine.c_str()) == 0;
}

}  // namespace tarnix::test
