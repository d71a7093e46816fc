#include "audio/mp3_source.h"

#include "audio/linear_dither.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tarnix {
namespace {

constexpr unsigned long XingMagic = ('X' << 24) | ('i' << 16) | ('n' << 8) | 'g';
constexpr std::uint32_t XingFrames = 1;
constexpr std::uint32_t XingBytes = 2;
constexpr std::uint32_t XingToc = 4;
constexpr std::uint32_t XingQuality = 8;

// Only one MP3 source plays at a time, so one dither state per output channel serves them all.
LinearDither dither[2];

std::int64_t findAudioStart(ByteStream& stream)
{
    unsigned char head[10];
    std::int64_t start = 0;
    if (stream.read(head, sizeof head) == sizeof head && std::memcmp(head, "ID3", 3) == 0) {
        // Whole bytes, top bits not masked: well-formed tags keep those bits clear anyway.
        start = (((std::int64_t{head[6]} * 128 + head[7]) * 128 + head[8]) * 128 + head[9]) + 10;
    }
    stream.seek(start, ByteStream::FromStart);
    return start;
}

void setMilliseconds(mad_timer_t& timer, std::int64_t ms)
{
    mad_timer_set(&timer, static_cast<unsigned long>(ms / 1000), static_cast<unsigned long>(ms % 1000), 1000);
}

}  // namespace

Mp3Source::~Mp3Source()
{
    closeSource();
}

int Mp3Source::openSource(std::unique_ptr<ByteStream> stream)
{
    closeSource();
    if (!stream) {
        return 0;
    }
    stream_ = std::move(stream);
    if (stream_->isSeekable()) {
        audioStart_ = findAudioStart(*stream_);
    }
    mad_stream_init(&madStream_);
    mad_frame_init(&madFrame_);
    mad_synth_init(&madSynth_);
    madOpen_ = true;

    mad_header header;
    if (!probe(header)) {
        closeSource();
        return 0;
    }
    stream_->seek(audioStart_, ByteStream::FromStart);
    fileSize_ = stream_->size();

    if ((xing_.flags & XingFrames) != 0) {
        duration_ = header.duration;
        mad_timer_multiply(&duration_, static_cast<long>(xing_.frames));
    } else if (header.bitrate != 0) {
        setMilliseconds(duration_, fileSize_ * 8000 / static_cast<std::int64_t>(header.bitrate));
    }
    format_.durationSeconds = static_cast<int>(mad_timer_count(duration_, MAD_UNITS_SECONDS));
    format_.bytesPerMillisecond = static_cast<int>(header.bitrate / 1000);
    format_.sampleRate = static_cast<int>(header.samplerate);
    format_.stereo = header.mode != MAD_MODE_SINGLE_CHANNEL ? 1 : 0;
    format_.sixteenBit = 1;
    return 1;
}

bool Mp3Source::refill(mad_stream& stream, Input& input)
{
    if (input.ended) {
        return false;
    }
    std::size_t rest = 0;
    if (input.length != 0 && stream.next_frame != nullptr) {
        rest = static_cast<std::size_t>(input.data + input.length - stream.next_frame);
        std::memmove(input.data, stream.next_frame, rest);
    }
    std::size_t got = stream_->read(input.data + rest, input.capacity - rest);
    if (got == 0) {
        std::memset(input.data + rest, 0, MAD_BUFFER_GUARD);
        got = MAD_BUFFER_GUARD;
        input.ended = true;
    }
    input.length = rest + got;
    mad_stream_buffer(&stream, input.data, input.length);
    return true;
}

bool Mp3Source::probe(mad_header& result)
{
    std::array<unsigned char, ProbeBytes + MAD_BUFFER_GUARD> data;
    Input input{data.data(), ProbeBytes};
    mad_stream stream;
    mad_frame frame;
    mad_stream_init(&stream);
    mad_frame_init(&frame);

    bool ok = refill(stream, input);
    bool firstDecoded = false;
    while (ok) {
        if (mad_frame_decode(&frame, &stream) == 0) {
            result = frame.header;
            // A Xing frame describes the stream; otherwise the next frame is the more typical one.
            if (firstDecoded || readXing(stream.anc_ptr, stream.anc_bitlen)) {
                break;
            }
            firstDecoded = true;
        } else if (MAD_RECOVERABLE(stream.error)) {
            continue;
        } else if (firstDecoded) {
            break;
        } else if (stream.error != MAD_ERROR_BUFLEN) {
            ok = false;
        } else {
            ok = refill(stream, input);
        }
    }
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    return ok;
}

bool Mp3Source::readXing(mad_bitptr bits, unsigned int bitLength)
{
    auto take = [&](unsigned int count, std::uint32_t& value) {
        if (bitLength < count) {
            return false;
        }
        value = static_cast<std::uint32_t>(mad_bit_read(&bits, count));
        bitLength -= count;
        return true;
    };
    Xing xing;
    std::uint32_t magic = 0;
    if (!take(32, magic) || magic != XingMagic || !take(32, xing.flags)) {
        return false;
    }
    if ((xing.flags & XingFrames) != 0 && !take(32, xing.frames)) return false;
    if ((xing.flags & XingBytes) != 0 && !take(32, xing.bytes)) return false;
    if ((xing.flags & XingToc) != 0) {
        if (bitLength < 8 * xing.toc.size()) return false;
        for (unsigned char& entry : xing.toc) {
            entry = static_cast<unsigned char>(mad_bit_read(&bits, 8));
        }
        bitLength -= 8 * xing.toc.size();
    }
    if ((xing.flags & XingQuality) != 0 && !take(32, xing.quality)) return false;
    xing_ = xing;
    return true;
}

void Mp3Source::seekFraction(int numerator, int denominator)
{
    if (!stream_ || !stream_->isSeekable() || denominator <= 0) {
        return;
    }
    const double f = std::clamp(static_cast<double>(numerator) / denominator, 0.0, 1.0);
    const auto durationMs = static_cast<std::int64_t>(mad_timer_count(duration_, MAD_UNITS_MILLISECONDS));
    setMilliseconds(position_, static_cast<std::int64_t>(static_cast<double>(durationMs) * f));

    double fraction = f;
    if ((xing_.flags & XingToc) != 0) {
        const int i = static_cast<int>(std::floor(100 * f));
        const double lo = i > 99 ? 256 : xing_.toc[i];
        const double hi = i > 98 ? 256 : xing_.toc[i + 1];
        fraction = ((100 * f - i) * (hi - lo) + lo) / 256;
    }
    // Never land inside a leading tag: its bytes could pass for frames and play as noise.
    const auto target = static_cast<std::int64_t>(fraction * static_cast<double>(fileSize_));
    stream_->seek(std::max(target, audioStart_), ByteStream::FromStart);

    input_.length = 0;
    input_.ended = false;
    refill(madStream_, input_);
    mad_frame_mute(&madFrame_);
    mad_synth_mute(&madSynth_);
    madSynth_.pcm.length = 0;
    framePosition_ = 0;

    if (numerator == 0) {
        return;
    }
    // Decoding two frames fills the decoder's overlap history, so what follows starts clean.
    for (int decoded = 0; decoded < 2;) {
        if (mad_frame_decode(&madFrame_, &madStream_) != 0) {
            if (MAD_RECOVERABLE(madStream_.error)) continue;
            break;
        }
        mad_timer_add(&position_, madFrame_.header.duration);
        if (++decoded == 2) {
            mad_synth_frame(&madSynth_, &madFrame_);
        }
    }
}

void Mp3Source::getFormat(SoundFormat& format) const
{
    if (stream_ && (xing_.flags & XingFrames) == 0 && frameCount_ != 0 && bitrateSum_ != 0) {
        // Average kbit/s = sum / count, so one byte lasts count / (sum × 125) seconds.
        setMilliseconds(duration_, fileSize_ * 8 * frameCount_ / bitrateSum_);
        if (mad_timer_compare(position_, duration_) > 0) {
            duration_ = position_;
            fileSize_ = stream_->size();
        }
    }
    format = format_;
    format.durationSeconds = static_cast<int>(mad_timer_count(duration_, MAD_UNITS_SECONDS));
}

int Mp3Source::readPcm(void* buffer, int& length)
{
    const int requested = length;
    length = 0;
    if (!stream_) {
        return 0;
    }
    const int channels = format_.stereo != 0 ? 2 : 1;
    int wanted = std::max(requested, 0) / 2 / channels;
    auto* out = static_cast<unsigned char*>(buffer);
    while (wanted > 0) {
        const int delivered = deliver(out + length, wanted);
        wanted -= delivered;
        length += delivered * 2 * channels;
        if (wanted == 0) {
            break;
        }
        if (!decodeFrame()) {
            // The end of the file: what this call converted is still handed over.
            return length > 0 ? 1 : 0;
        }
        countFrame();
    }
    return 1;
}

int Mp3Source::deliver(unsigned char* out, int frames)
{
    const int n = std::min(frames, static_cast<int>(madSynth_.pcm.length) - framePosition_);
    if (n <= 0) {
        return 0;
    }
    const bool stereo = format_.stereo != 0;
    const mad_fixed_t* left = madSynth_.pcm.samples[0] + framePosition_;
    const mad_fixed_t* right =
        (madSynth_.pcm.channels > 1 ? madSynth_.pcm.samples[1] : madSynth_.pcm.samples[0]) + framePosition_;
    auto put = [&out](std::int16_t sample) {
        const auto bits = static_cast<std::uint16_t>(sample);
        *out++ = static_cast<unsigned char>(bits & 0xFF);
        *out++ = static_cast<unsigned char>(bits >> 8);
    };
    for (int i = 0; i < n; ++i) {
        put(dither[0].quantize(left[i]));
        if (stereo) {
            put(dither[1].quantize(right[i]));
        }
    }
    framePosition_ += n;
    return n;
}

bool Mp3Source::decodeFrame()
{
    for (;;) {
        if (mad_frame_decode(&madFrame_, &madStream_) == 0) {
            return true;
        }
        if (MAD_RECOVERABLE(madStream_.error)) {
            continue;
        }
        if (!refill(madStream_, input_)) {
            return false;
        }
    }
}

void Mp3Source::countFrame()
{
    bitrateSum_ += static_cast<std::int64_t>(madFrame_.header.bitrate / 1000);
    ++frameCount_;
    mad_synth_frame(&madSynth_, &madFrame_);
    framePosition_ = 0;
    mad_timer_add(&position_, madFrame_.header.duration);
}

int Mp3Source::elapsedSeconds() const
{
    return static_cast<int>(mad_timer_count(position_, MAD_UNITS_SECONDS));
}

void Mp3Source::closeSource()
{
    stream_.reset();
    if (madOpen_) {
        mad_synth_finish(&madSynth_);
        mad_frame_finish(&madFrame_);
        mad_stream_finish(&madStream_);
        madOpen_ = false;
    }
    madSynth_.pcm.length = 0;
    audioStart_ = 0;
    fileSize_ = 0;
    xing_ = Xing{};
    input_.length = 0;
    input_.ended = false;
    framePosition_ = 0;
    position_ = mad_timer_zero;
    duration_ = mad_timer_zero;
    bitrateSum_ = 0;
    frameCount_ = 0;
    format_ = SoundFormat{};
}

}  // namespace tarnix
