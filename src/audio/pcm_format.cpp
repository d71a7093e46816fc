#include "audio/pcm_format.h"

namespace tarnix {

PcmFormat PcmFormat::linear(int channels, int rate, int bits)
{
    PcmFormat format;
    format.channels = static_cast<std::uint16_t>(channels);
    format.samplesPerSecond = static_cast<std::uint32_t>(rate);
    format.bitsPerSample = static_cast<std::uint16_t>(bits);
    format.blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    format.avgBytesPerSecond = format.samplesPerSecond * format.blockAlign;
    return format;
}

}  // namespace tarnix
