#include "audio/mp3_source.h"
#include "config/byte_stream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// Opens arbitrary bytes as a message file, then plays, seeks and plays on.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarnix::Mp3Source source;
    if (source.openSource(std::make_unique<tarnix::MemoryStream>(data, size)) == 0) {
        return 0;
    }
    std::array<unsigned char, 12800> pcm;
    auto play = [&](int blocks) {
        for (int i = 0; i < blocks; ++i) {
            int length = static_cast<int>(pcm.size());
            if (source.readPcm(pcm.data(), length) == 0) break;
        }
    };
    tarnix::SoundFormat format;
    source.getFormat(format);
    play(8);
    source.getFormat(format);
    source.seekFraction(static_cast<int>(size % 11), 10);
    play(2);
    source.seekFraction(0, 100);
    play(1);
    source.elapsedSeconds();
    return 0;
}
