#pragma once

#include "audio/pcm_format.h"
#include "audio/sound_source.h"

#include <cstdint>

namespace tarnix {

// Decodes a RIFF/WAVE sound: any "fmt " chunk is taken as linear PCM of its channel count and
// sample size.
class WavSource final : public SoundSource {
public:
    ~WavSource() override;

    // Returns 1 for a RIFF/WAVE stream (also without a data chunk), else 0.
    int openSource(std::unique_ptr<ByteStream> stream) override;
    void seekFraction(int numerator, int denominator) override;
    void getFormat(SoundFormat& format) const override { format = format_; }
    int readPcm(void* buffer, int& length) override;
    int elapsedSeconds() const override;
    void closeSource() override;

    // The "fmt " chunk as stored (its first 18 bytes).
    const PcmFormat& formatBlock() const { return block_; }
    std::int64_t dataOffset() const { return dataOffset_; }
    std::int64_t dataLength() const { return dataLength_; }

private:
    bool walkChunks();
    bool readFormatChunk(std::uint32_t size);
    bool skip(std::int64_t bytes);
    void deriveFormat();

    std::unique_ptr<ByteStream> stream_;
    std::int64_t dataOffset_ = 0;
    std::int64_t dataLength_ = 0;
    std::int64_t position_ = 0;
    PcmFormat block_;
    SoundFormat format_;
};

}  // namespace tarnix
