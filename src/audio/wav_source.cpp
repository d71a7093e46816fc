#include "audio/wav_source.h"

#include <algorithm>
#include <cstring>

namespace tarnix {

namespace {

constexpr std::uint32_t FormatBlockSize = 18;
constexpr std::uint32_t MinFormatSize = 14;

std::uint32_t le16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}

std::uint32_t le32(const unsigned char* p)
{
    return le16(p) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

bool readExact(ByteStream& stream, unsigned char* out, std::size_t n)
{
    return stream.read(out, n) == n;
}

}  // namespace

WavSource::~WavSource()
{
    closeSource();
}

int WavSource::openSource(std::unique_ptr<ByteStream> stream)
{
    closeSource();
    stream_ = std::move(stream);
    if (stream_ == nullptr) {
        return 0;
    }
    unsigned char header[12];
    if (!readExact(*stream_, header, 4) || std::memcmp(header, "RIFF", 4) != 0) {
        return 0;
    }
    if (!readExact(*stream_, header + 4, 8) || std::memcmp(header + 8, "WAVE", 4) != 0) {
        return 0;
    }
    if (!walkChunks()) {
        return 0;
    }
    deriveFormat();
    stream_->seek(dataOffset_, ByteStream::FromStart);
    position_ = 0;
    return 1;
}

bool WavSource::walkChunks()
{
    bool formatSeen = false;
    while (!stream_->atEnd()) {
        unsigned char chunk[8];
        if (!readExact(*stream_, chunk, sizeof chunk)) {
            break;
        }
        const std::uint32_t size = le32(chunk + 4);
        const std::int64_t padded = (static_cast<std::int64_t>(size) + 1) & ~std::int64_t{1};
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (!readFormatChunk(size)) {
                return false;
            }
            formatSeen = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            dataOffset_ = stream_->tell();
            dataLength_ += size;
            if (!formatSeen) {
                if (!skip(padded)) break;
                if (size == 0) break;
                continue;
            }
        } else if (!skip(padded)) {
            break;
        }
        if ((formatSeen && dataLength_ != 0) || size == 0) {
            break;
        }
    }
    return true;
}

bool WavSource::readFormatChunk(std::uint32_t size)
{
    if (size < MinFormatSize) {
        return false;
    }
    unsigned char raw[FormatBlockSize] = {};
    const std::uint32_t wanted = std::min(size, FormatBlockSize);
    stream_->read(raw, wanted);
    block_.formatTag = static_cast<std::uint16_t>(le16(raw));
    block_.channels = static_cast<std::uint16_t>(le16(raw + 2));
    block_.samplesPerSecond = le32(raw + 4);
    block_.avgBytesPerSecond = le32(raw + 8);
    block_.blockAlign = static_cast<std::uint16_t>(le16(raw + 12));
    block_.bitsPerSample = static_cast<std::uint16_t>(le16(raw + 14));
    block_.extraSize = static_cast<std::uint16_t>(le16(raw + 16));
    if (size > FormatBlockSize) {
        skip(size - FormatBlockSize);
    }
    return true;
}

bool WavSource::skip(std::int64_t bytes)
{
    return stream_->seek(bytes, ByteStream::FromCurrent);
}

void WavSource::deriveFormat()
{
    const std::uint32_t rate = block_.avgBytesPerSecond;
    format_.stereo = block_.channels == 2 ? 1 : 0;
    format_.sixteenBit = block_.bitsPerSample == 16 ? 1 : 0;
    format_.bytesPerMillisecond = static_cast<int>(rate / 1000);
    format_.sampleRate = static_cast<int>(block_.samplesPerSecond);
    // A format block without a data rate has no playing time to speak of.
    format_.durationSeconds = rate == 0 ? 0 : static_cast<int>(dataLength_ / rate + 1);
}

int WavSource::readPcm(void* buffer, int& length)
{
    const std::int64_t remaining = dataLength_ - position_;
    if (stream_ == nullptr || remaining <= 0 || length <= 0) {
        length = 0;
        return stream_ != nullptr && remaining > 0 ? 1 : 0;
    }
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(length, remaining));
    const std::size_t got = stream_->read(buffer, wanted);
    length = static_cast<int>(got);
    position_ += static_cast<std::int64_t>(got);
    return 1;
}

void WavSource::seekFraction(int numerator, int denominator)
{
    if (stream_ == nullptr || denominator == 0) {
        return;
    }
    const std::int64_t offset = std::clamp<std::int64_t>(
        (static_cast<std::int64_t>(numerator) * dataLength_ / denominator + 1) & ~std::int64_t{1}, 0,
        dataLength_);
    stream_->seek(dataOffset_ + offset, ByteStream::FromStart);
    position_ = stream_->tell() - dataOffset_;
}

int WavSource::elapsedSeconds() const
{
    return block_.avgBytesPerSecond == 0 ? 0 : static_cast<int>(position_ / block_.avgBytesPerSecond);
}

void WavSource::closeSource()
{
    stream_.reset();
    dataOffset_ = 0;
    dataLength_ = 0;
    position_ = 0;
    block_ = PcmFormat{};
    format_ = SoundFormat{};
}

}  // namespace tarnix
