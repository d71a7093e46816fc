#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnix::test {

// Builds RIFF/WAVE files chunk by chunk, padding odd chunks as the format asks.
class WavBytes {
public:
    WavBytes& chunk(const std::string& id, const std::vector<unsigned char>& body, bool pad = true)
    {
        append(id);
        le32(static_cast<std::uint32_t>(body.size()));
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        if (pad && body.size() % 2 == 1) bytes_.push_back(0);
        return *this;
    }
    // A "fmt " chunk of the given size (at least 16) describing linear PCM.
    WavBytes& format(int channels, int rate, int bits, std::size_t size = 16)
    {
        const int align = channels * ((bits + 7) / 8);
        std::vector<unsigned char> body;
        auto put = [&body](std::uint32_t v, int n) {
            for (int i = 0; i < n; ++i) body.push_back(static_cast<unsigned char>(v >> (8 * i)));
        };
        put(1, 2);
        put(static_cast<std::uint32_t>(channels), 2);
        put(static_cast<std::uint32_t>(rate), 4);
        put(static_cast<std::uint32_t>(rate) * static_cast<std::uint32_t>(align), 4);
        put(static_cast<std::uint32_t>(align), 2);
        put(static_cast<std::uint32_t>(bits), 2);
        body.resize(size, 0xEE);
        return chunk("fmt ", body);
    }
    std::vector<unsigned char> file() const
    {
        std::vector<unsigned char> out{'R', 'I', 'F', 'F'};
        const auto size = static_cast<std::uint32_t>(bytes_.size() + 4);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(size >> (8 * i)));
        out.insert(out.end(), {'W', 'A', 'V', 'E'});
        out.insert(out.end(), bytes_.begin(), bytes_.end());
        return out;
    }

private:
    void append(const std::string& id) { bytes_.insert(bytes_.end(), id.begin(), id.end()); }
    void le32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    std::vector<unsigned char> bytes_;
};

inline std::vector<unsigned char> ramp(std::size_t n)
{
    std::vector<unsigned char> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(i + 1);
    return out;
}

}  // namespace tarnix::test
