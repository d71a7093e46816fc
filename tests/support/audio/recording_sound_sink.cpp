#include "recording_sound_sink.h"

#include <cstring>

namespace tarnix::test {

int RecordingSoundSink::write(const void* data, int length)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const std::lock_guard guard(lock_);
    blocks_.emplace_back(bytes, bytes + (length > 0 ? length : 0));
    return 1;
}

std::vector<RecordingSoundSink::Block> RecordingSoundSink::blocks() const
{
    const std::lock_guard guard(lock_);
    return blocks_;
}

std::vector<std::uint16_t> RecordingSoundSink::samples() const
{
    std::vector<std::uint16_t> out;
    for (const Block& block : blocks()) {
        const std::size_t at = out.size();
        out.resize(at + block.size() / 2);
        std::memcpy(out.data() + at, block.data(), block.size() / 2 * 2);
    }
    return out;
}

}  // namespace tarnix::test
