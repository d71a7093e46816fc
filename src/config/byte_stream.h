#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace tarnix {

// A readable, seekable byte source: a file or a block of memory. The XML reader and the sound
// decoders read through it.
class ByteStream {
public:
    enum Origin { FromStart = 0, FromCurrent = 1, FromEnd = 2 };

    virtual ~ByteStream() = default;
    virtual bool atEnd() const = 0;
    // The next byte (0..255), or -1 at the end.
    virtual int readByte() = 0;
    // Returns the number of bytes read (0 at the end).
    virtual std::size_t read(void* buffer, std::size_t n) = 0;
    virtual std::int64_t tell() const = 0;
    // Returns false when the position cannot be set.
    virtual bool seek(std::int64_t offset, Origin origin) = 0;
    virtual bool isSeekable() const { return true; }
    virtual std::int64_t size() const = 0;
};

// A file opened for binary reading; closed with the stream.
class FileStream final : public ByteStream {
public:
    // Returns null when the file cannot be opened for reading.
    static std::unique_ptr<FileStream> open(const std::string& path);
    ~FileStream() override;

    bool atEnd() const override;
    int readByte() override;
    std::size_t read(void* buffer, std::size_t n) override;
    std::int64_t tell() const override;
    bool seek(std::int64_t offset, Origin origin) override;
    std::int64_t size() const override;

private:
    explicit FileStream(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

// A view of a block of bytes that outlives the stream (the program's resources stay mapped for
// the process lifetime); the position is clamped to 0..size.
class MemoryStream final : public ByteStream {
public:
    MemoryStream(const void* data, std::size_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(size)
    {
    }

    bool atEnd() const override { return position_ >= size_; }
    int readByte() override { return position_ < size_ ? data_[position_++] : -1; }
    std::size_t read(void* buffer, std::size_t n) override;
    std::int64_t tell() const override { return static_cast<std::int64_t>(position_); }
    bool seek(std::int64_t offset, Origin origin) override;
    std::int64_t size() const override { return static_cast<std::int64_t>(size_); }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace tarnix
