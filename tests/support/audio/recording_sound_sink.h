#pragma once

#include "audio/sound_sink.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace tarnix::test {

// Keeps every block a channel hands on. Written from the channel's thread: read through copies.
class RecordingSoundSink final : public SoundSink {
public:
    using Block = std::vector<std::uint8_t>;

    int write(const void* data, int length) override;
    std::vector<Block> blocks() const;
    // Every block's bytes in order, as 16-bit samples.
    std::vector<std::uint16_t> samples() const;

private:
    mutable std::mutex lock_;
    std::vector<Block> blocks_;
};

}  // namespace tarnix::test
