#pragma once

#include "audio/sound_source.h"
#include "config/byte_stream.h"

#include <mad.h>

#include <array>
#include <cstdint>
#include <memory>

namespace tarnix {

// Decodes an MPEG audio file into 16-bit PCM, mono or interleaved stereo as the first frame is.
// The reported bytes-per-millisecond is the first frame's bit rate in kbit/s: the player sizes
// its slots from it.
class Mp3Source final : public SoundSource {
public:
    static constexpr std::size_t InputBytes = 40000;
    static constexpr std::size_t ProbeBytes = 8192;

    Mp3Source() = default;
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;
    ~Mp3Source() override;

    int openSource(std::unique_ptr<ByteStream> stream) override;
    // Goes to numerator/denominator of the playing time; (0, 100) is the start of the audio.
    void seekFraction(int numerator, int denominator) override;
    // Refreshes the duration estimate from the frames decoded so far.
    void getFormat(SoundFormat& format) const override;
    int readPcm(void* buffer, int& length) override;
    int elapsedSeconds() const override;
    void closeSource() override;

    // Where the audio begins: after an ID3v2 tag, else 0.
    std::int64_t audioStart() const { return audioStart_; }

private:
    // A buffer of undecoded bytes as libmad sees it. At the end of the file the zero bytes libmad
    // needs to decode the last frame are appended once.
    struct Input {
        unsigned char* data;
        std::size_t capacity;
        std::size_t length = 0;
        bool ended = false;
    };
    struct Xing {
        std::uint32_t flags = 0;
        std::uint32_t frames = 0;
        std::uint32_t bytes = 0;
        std::array<unsigned char, 100> toc{};
        std::uint32_t quality = 0;
    };

    bool refill(mad_stream& stream, Input& input);
    bool probe(mad_header& result);
    bool readXing(mad_bitptr bits, unsigned int bitLength);
    bool decodeFrame();
    void countFrame();
    int deliver(unsigned char* out, int frames);

    std::unique_ptr<ByteStream> stream_;
    std::int64_t audioStart_ = 0;
    mutable std::int64_t fileSize_ = 0;
    Xing xing_;
    mad_stream madStream_{};
    mad_frame madFrame_{};
    mad_synth madSynth_{};
    bool madOpen_ = false;
    std::array<unsigned char, InputBytes + MAD_BUFFER_GUARD> inputData_{};
    Input input_{inputData_.data(), InputBytes};
    int framePosition_ = 0;
    mad_timer_t position_{};
    mutable mad_timer_t duration_{};
    std::int64_t bitrateSum_ = 0;
    std::int64_t frameCount_ = 0;
    SoundFormat format_;
};

}  // namespace tarnix
