#pragma once

#include <cstdint>

namespace tarnix {

// Turns the decoder's fixed-point samples (28 fraction bits) into 16-bit ones with noise-shaped
// dither. One per output channel: the error feedback follows that channel's signal.
class LinearDither {
public:
    std::int16_t quantize(std::int32_t sample);

private:
    std::int32_t error_[3] = {0, 0, 0};
    std::uint32_t random_ = 0;
};

}  // namespace tarnix
