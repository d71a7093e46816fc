#pragma once

#include <cstdint>

namespace tarnix {

// One MP3 encoder stream at a time, of 48000 Hz mono 16-bit input. Every operation answers 0 on
// success or the encoder's error number.
class Mp3Encoder {
public:
    static constexpr int SampleRate = 48000;

    virtual ~Mp3Encoder() = default;
    virtual unsigned long initStream() = 0;
    // Encodes `count` 16-bit mono samples; `written` is set to the bytes put into `out`.
    virtual unsigned long encodeChunk(const std::int16_t* samples, int count, unsigned char* out,
                                      int capacity, int& written) = 0;
    // Flushes what the stream still holds.
    virtual unsigned long deinitStream(unsigned char* out, int capacity, int& written) = 0;
    virtual void closeStream() = 0;
    virtual bool hasStream() const = 0;
};

}  // namespace tarnix
