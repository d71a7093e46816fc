#pragma once

#include <cstdint>

namespace tarnix {

// The description of linear PCM that wave devices take and WAV files carry in their "fmt " chunk
// (18 bytes there, fields in this order).
struct PcmFormat {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t avgBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;

    static PcmFormat linear(int channels, int rate, int bits);
};

}  // namespace tarnix
