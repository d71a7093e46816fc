#include "audio/sound_loopback.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarnix {
namespace {

constexpr double kFullScale = 32768.0;
constexpr double kRangeDb = 60.0;

}  // namespace

SoundLoopback::SoundLoopback(WaveDevices& devices, LevelListener onLevel)
    : output_(devices), input_(devices), onLevel_(std::move(onLevel))
{
    output_.setBuffers(BufferSize, BufferCount);
    input_.setBuffers(BufferSize, BufferCount);
    input_.setSink(this);
}

SoundLoopback::~SoundLoopback()
{
    stop();
}

bool SoundLoopback::start(int outputDevice, int inputDevice)
{
    {
        std::lock_guard guard(mutex_);
        stopping_ = false;
    }
    running_ = output_.open(outputDevice, Channels, Rate, Bits) == 1 &&
               input_.open(inputDevice, Channels, Rate, Bits) == 1;
    if (!running_) stop();
    return running_;
}

void SoundLoopback::stop()
{
    {
        std::lock_guard guard(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    input_.close();
    output_.close();
    running_ = false;
}

int SoundLoopback::write(const void* data, int length)
{
    if (length <= 0) return 1;
    for (int waited = 0; output_.write(data, length) == 0; waited += RetryMs) {
        if (waited >= RetryLimitMs || !waitToRetry()) break;
    }
    if (onLevel_) onLevel_(level(data, length));
    return 1;
}

bool SoundLoopback::waitToRetry()
{
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(RetryMs), [this] { return stopping_; });
    return !stopping_;
}

int SoundLoopback::level(const void* data, int length)
{
    const int samples = length / 2;
    if (samples <= 0) return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    double sum = 0;
    for (int i = 0; i < samples; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, bytes + std::ptrdiff_t{2} * i, sizeof sample);
        sum += double(sample) * double(sample);
    }
    const double rms = std::sqrt(sum / samples);
    if (rms < 1.0) return 0;
    const double db = 20.0 * std::log10(rms / kFullScale);
    return std::clamp(static_cast<int>(std::lround((db + kRangeDb) * 100.0 / kRangeDb)), 0, 100);
}

}  // namespace tarnix
