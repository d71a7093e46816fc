#include "audio/buffer_ring.h"

#include <cstring>
#include <new>

namespace tarnix {

namespace {

// Keeps every header aligned when a slot's data size is not a multiple of the header alignment.
std::size_t slotStride(int size)
{
    const std::size_t raw = sizeof(WaveHeader) + static_cast<std::size_t>(size);
    const std::size_t align = alignof(WaveHeader);
    return (raw + align - 1) / align * align;
}

}  // namespace

void BufferRing::setBuffers(int size, int count)
{
    storage_.reset();
    size_ = size < 0 ? 0 : size;
    count_ = count < 0 ? 0 : count;
    stride_ = slotStride(size_);
    storage_ = std::make_unique<unsigned char[]>(stride_ * static_cast<std::size_t>(count_));
    reset();
}

void BufferRing::reset()
{
    if (storage_ != nullptr) {
        std::memset(storage_.get(), 0, stride_ * static_cast<std::size_t>(count_));
    }
    for (int i = 0; i < count_; ++i) {
        new (slot(i)) WaveHeader{.flags = WaveHeader::Done};
    }
    readIndex = -1;
    writeIndex = -1;
    queued = 0;
}

WaveHeader& BufferRing::header(int index)
{
    return *std::launder(reinterpret_cast<WaveHeader*>(slot(index)));
}

unsigned char* BufferRing::data(int index)
{
    return slot(index) + sizeof(WaveHeader);
}

WaveHeader& BufferRing::initHeader(int index)
{
    WaveHeader& h = header(index);
    h = WaveHeader{};
    h.data = data(index);
    h.bufferLength = static_cast<std::uint32_t>(size_);
    h.user = this;
    return h;
}

bool BufferRing::allDone()
{
    for (int i = 0; i < count_; ++i) {
        if ((header(i).flags & WaveHeader::Done) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace tarnix
