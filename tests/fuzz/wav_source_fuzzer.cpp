// Feeds arbitrary bytes to the WAV decoder the way the player uses it: open, read in slots,
// rewind, seek, and read again. Any read past the input or the caller's buffer is a finding.
#include "audio/wav_source.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarnix::WavSource source;
    source.openSource(std::make_unique<tarnix::MemoryStream>(data, size));
    tarnix::SoundFormat format;
    source.getFormat(format);

    std::vector<unsigned char> buffer(4096);
    const int slot = size > 0 ? 1 + data[0] % static_cast<int>(buffer.size()) : 100;
    for (int pass = 0; pass < 2; ++pass) {
        for (int reads = 0; reads < 64; ++reads) {
            int length = slot;
            if (source.readPcm(buffer.data(), length) == 0 || length == 0) break;
            if (length > slot) __builtin_trap();
        }
        source.elapsedSeconds();
        source.seekFraction(pass == 0 ? 0 : 37, 100);
    }
    source.seekFraction(1, 0);
    source.seekFraction(-5, 3);
    int length = slot;
    source.readPcm(buffer.data(), length);
    return 0;
}
