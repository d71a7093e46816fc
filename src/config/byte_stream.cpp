#include "config/byte_stream.h"

#include <algorithm>
#include <cstring>

namespace tarnix {

std::unique_ptr<FileStream> FileStream::open(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<FileStream>(new FileStream(file));
}

FileStream::~FileStream()
{
    std::fclose(file_);
}

bool FileStream::atEnd() const
{
    const int c = std::fgetc(file_);
    if (c == EOF) {
        return true;
    }
    std::ungetc(c, file_);
    return false;
}

int FileStream::readByte()
{
    const int c = std::getc(file_);
    return c == EOF ? -1 : c;
}

std::size_t FileStream::read(void* buffer, std::size_t n)
{
    return std::fread(buffer, 1, n, file_);
}

std::int64_t FileStream::tell() const
{
    return ::ftello(file_);
}

bool FileStream::seek(std::int64_t offset, Origin origin)
{
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    return ::fseeko(file_, offset, whence[origin]) == 0;
}

std::int64_t FileStream::size() const
{
    const off_t here = ::ftello(file_);
    ::fseeko(file_, 0, SEEK_END);
    const off_t end = ::ftello(file_);
    ::fseeko(file_, here, SEEK_SET);
    return end;
}

std::size_t MemoryStream::read(void* buffer, std::size_t n)
{
    const std::size_t count = std::min(n, size_ - std::min(position_, size_));
    if (count != 0) {
        std::memcpy(buffer, data_ + position_, count);
        position_ += count;
    }
    return count;
}

bool MemoryStream::seek(std::int64_t offset, Origin origin)
{
    std::int64_t base = 0;
    if (origin == FromCurrent) base = static_cast<std::int64_t>(position_);
    if (origin == FromEnd) base = static_cast<std::int64_t>(size_);
    const std::int64_t target = std::clamp<std::int64_t>(base + offset, 0, static_cast<std::int64_t>(size_));
    position_ = static_cast<std::size_t>(target);
    return true;
}

}  // namespace tarnix
