#pragma once

#include "config/byte_stream.h"

#include <memory>

namespace tarnix {

// What a decoder reports to the player.
struct SoundFormat {
    int durationSeconds = 0;
    int bytesPerMillisecond = 0;
    int sampleRate = 0;
    int stereo = 0;
    int sixteenBit = 0;
};

// A decoder of one sound; owns the stream it reads.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    // Takes the stream; returns 1 when it holds a sound this decoder plays, else 0.
    virtual int openSource(std::unique_ptr<ByteStream> stream) = 0;
    virtual void seekFraction(int numerator, int denominator) = 0;
    virtual void getFormat(SoundFormat& format) const = 0;
    // Fills up to `length` bytes and sets it to the bytes delivered; returns 1 while data may
    // follow, 0 at the end (length 0).
    virtual int readPcm(void* buffer, int& length) = 0;
    virtual int elapsedSeconds() const = 0;
    // Drops the stream and the decoder's state.
    virtual void closeSource() = 0;
};

}  // namespace tarnix
