#include "audio/lame_encoder.h"

#include <lame/lame.h>

namespace tarnix {
namespace {

constexpr unsigned long OutOfMemory = 2;

unsigned long errorNumber(int result)
{
    return static_cast<unsigned long>(-static_cast<long>(result));
}

}  // namespace

LameEncoder::~LameEncoder()
{
    closeStream();
}

unsigned long LameEncoder::initStream()
{
    closeStream();
    lame_ = lame_init();
    if (lame_ == nullptr) {
        return OutOfMemory;
    }
    lame_set_in_samplerate(lame_, SampleRate);
    lame_set_num_channels(lame_, 1);
    // The preset switches variable bit rate on and retunes everything it touches, so it has to come
    // first; the settings after it pin the constant-rate stream.
    lame_set_preset(lame_, R3MIX);
    lame_set_mode(lame_, MONO);
    lame_set_VBR(lame_, vbr_off);
    lame_set_brate(lame_, Bitrate);
    lame_set_original(lame_, 1);
    lame_set_error_protection(lame_, 0);
    lame_set_disable_reservoir(lame_, 1);
    lame_set_bWriteVbrTag(lame_, 0);
    const int result = lame_init_params(lame_);
    if (result < 0) {
        closeStream();
        return errorNumber(result);
    }
    return 0;
}

unsigned long LameEncoder::encodeChunk(const std::int16_t* samples, int count, unsigned char* out,
                                       int capacity, int& written)
{
    written = 0;
    // Mono input: the right channel is ignored, but LAME wants a pointer there.
    const int result = lame_encode_buffer(lame_, samples, samples, count, out, capacity);
    if (result < 0) {
        return errorNumber(result);
    }
    written = result;
    return 0;
}

unsigned long LameEncoder::deinitStream(unsigned char* out, int capacity, int& written)
{
    written = 0;
    const int result = lame_encode_flush(lame_, out, capacity);
    if (result < 0) {
        return errorNumber(result);
    }
    written = result;
    return 0;
}

void LameEncoder::closeStream()
{
    if (lame_ != nullptr) {
        lame_close(lame_);
        lame_ = nullptr;
    }
}

}  // namespace tarnix
