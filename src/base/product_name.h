#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnix {

// Sound devices go by product names of at most this many bytes, as the names the device
// look-ups and the messenger's device settings were made for.
inline constexpr std::size_t MaxProductNameBytes = 31;

// The first line of a device's description, cut to MaxProductNameBytes without splitting a
// UTF-8 character.
inline std::string productName(std::string_view description)
{
    std::string_view name = description.substr(0, description.find('\n'));
    if (name.size() > MaxProductNameBytes) {
        std::size_t end = MaxProductNameBytes;
        // Back up over continuation bytes (10xxxxxx) to the start of the character cut through.
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0U) == 0x80U) --end;
        name = name.substr(0, end);
    }
    return std::string(name);
}

}  // namespace tarnix
