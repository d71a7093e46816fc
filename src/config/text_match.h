#pragma once

#include <string_view>

namespace tarnix {

// ASCII case-insensitive comparisons: device names, the messenger's notification words.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace tarnix
