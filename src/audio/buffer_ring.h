#pragma once

#include "audio/wave_device.h"

#include <cstddef>
#include <memory>

namespace tarnix {

// A ring of fixed-size slots in one block, each a wave header followed by its data area. The
// read index is the last slot handed on, the write index the last slot queued (-1 for none).
class BufferRing {
public:
    // Frees any previous storage, allocates count slots of size bytes and resets the ring.
    void setBuffers(int size, int count);
    // Zeroes every slot, marks every slot done and forgets all positions.
    void reset();

    int size() const { return size_; }
    int count() const { return count_; }
    WaveHeader& header(int index);
    unsigned char* data(int index);
    // Clears the slot's header and points it at the slot's own data area.
    WaveHeader& initHeader(int index);
    // The slot after `index`, wrapping to 0.
    int next(int index) const { return index + 1 >= count_ ? 0 : index + 1; }
    bool allDone();

    int readIndex = -1;
    int writeIndex = -1;
    int queued = 0;

private:
    unsigned char* slot(int index) { return storage_.get() + static_cast<std::size_t>(index) * stride_; }

    std::unique_ptr<unsigned char[]> storage_;
    int size_ = 0;
    int count_ = 0;
    std::size_t stride_ = 0;
};

}  // namespace tarnix
