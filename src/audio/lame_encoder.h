#pragma once

#include "audio/mp3_encoder.h"

struct lame_global_struct;

namespace tarnix {

// Message files: MPEG-1 Layer III, 48000 Hz mono, 128 kbit/s constant rate from the R3MIX tuning,
// no bit reservoir, the "original" flag set, no CRC and no tag frame. Error numbers are LAME's
// negative results negated (1: output buffer too small, 2: out of memory, ...).
class LameEncoder final : public Mp3Encoder {
public:
    static constexpr int Bitrate = 128;

    LameEncoder() = default;
    LameEncoder(const LameEncoder&) = delete;
    LameEncoder& operator=(const LameEncoder&) = delete;
    ~LameEncoder() override;

    unsigned long initStream() override;
    unsigned long encodeChunk(const std::int16_t* samples, int count, unsigned char* out, int capacity,
                              int& written) override;
    unsigned long deinitStream(unsigned char* out, int capacity, int& written) override;
    void closeStream() override;
    bool hasStream() const override { return lame_ != nullptr; }

private:
    lame_global_struct* lame_ = nullptr;
};

}  // namespace tarnix
