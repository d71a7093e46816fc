#pragma once

#include "audio/capture_channel.h"
#include "audio/mp3_source.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnix::test {

// A message decodes back delayed by the encoder's look-ahead plus the synthesis filter, and
// scaled by the constant-rate encoder's 0.95.
constexpr int DecoderDelay = 1105;
constexpr double EncoderScale = 0.95;

// Capture that never runs: the test plays the capture thread by calling the sink itself.
class FakeCaptureChannel final : public CaptureChannel {
public:
    struct Calls {
        int bufferSize = 0;
        int bufferCount = 0;
        SoundSink* sink = nullptr;
        int opens = 0;
        int closes = 0;
        int device = 0;
        int channels = 0;
        int rate = 0;
        int bits = 0;
    };

    explicit FakeCaptureChannel(std::shared_ptr<Calls> calls = std::make_shared<Calls>())
        : calls_(std::move(calls))
    {
    }
    void setBuffers(int size, int count) override
    {
        calls_->bufferSize = size;
        calls_->bufferCount = count;
    }
    void setSink(SoundSink* sink) override { calls_->sink = sink; }
    int open(int device, int channels, int rate, int bits) override
    {
        ++calls_->opens;
        calls_->device = device;
        calls_->channels = channels;
        calls_->rate = rate;
        calls_->bits = bits;
        return 1;
    }
    int close() override
    {
        ++calls_->closes;
        return 1;
    }

private:
    std::shared_ptr<Calls> calls_;
};

std::vector<std::int16_t> sineWave(int samples, double hz, double amplitude, int rate = 48000);
std::vector<std::int16_t> testSignal(int samples);

// Encodes 48000 Hz mono samples the way a recording does, in capture-sized blocks.
void encodeMessage(const std::vector<std::int16_t>& samples, const std::string& path);

std::vector<unsigned char> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);
void writeSamples(const std::string& path, const std::vector<std::int16_t>& samples);
std::vector<std::int16_t> toSamples(const std::vector<unsigned char>& bytes);

// Everything the source delivers from where it stands, read in chunks of the given size.
std::vector<std::int16_t> decodeAll(Mp3Source& source, int chunk = 12800);
// How far `decoded`, from `offset` on, follows `scale` times `input`: signal to error in dB.
double signalToErrorDb(const std::vector<std::int16_t>& decoded, std::size_t offset,
                       const std::vector<std::int16_t>& input, double scale);

// Runs a shell command line; true when it exits with 0.
bool run(const std::string& commandLine);

}  // namespace tarnix::test
