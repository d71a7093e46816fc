#include "audio/linear_dither.h"

namespace tarnix {
namespace {

constexpr int FractionBits = 28;
constexpr int OutputBits = 16;
constexpr int DroppedBits = FractionBits + 1 - OutputBits;
constexpr std::int64_t DroppedMask = (std::int64_t{1} << DroppedBits) - 1;
constexpr std::int64_t Maximum = (std::int64_t{1} << FractionBits) - 1;
constexpr std::int64_t Minimum = -(std::int64_t{1} << FractionBits);

std::uint32_t nextRandom(std::uint32_t r)
{
    return r * 1664525u + 1013904223u;
}

}  // namespace

std::int16_t LinearDither::quantize(std::int32_t sample)
{
    // 64-bit arithmetic: a decoded sample may lie near the limits of its type before clipping.
    std::int64_t s = std::int64_t{sample} + error_[0] - error_[1] + error_[2];
    error_[2] = error_[1];
    error_[1] = error_[0] / 2;

    std::int64_t out = s + (std::int64_t{1} << (DroppedBits - 1));
    const std::uint32_t random = nextRandom(random_);
    out += static_cast<std::int64_t>(random & DroppedMask) - static_cast<std::int64_t>(random_ & DroppedMask);
    random_ = random;

    if (out > Maximum) {
        out = Maximum;
        if (s > Maximum) s = Maximum;
    } else if (out < Minimum) {
        out = Minimum;
        if (s < Minimum) s = Minimum;
    }
    const std::int64_t kept = out & ~DroppedMask;
    error_[0] = static_cast<std::int32_t>(s - kept);
    return static_cast<std::int16_t>(kept >> DroppedBits);
}

}  // namespace tarnix
