#pragma once

#include <string_view>
#include <vector>

namespace tarnix {

// Reading the messenger's one-line notifications: tokens separated by runs of blanks (prefixes
// are compared with config/text_match.h).
// Removes and returns the next token of `rest` (blanks before it skipped); empty at the end.
std::string_view takeToken(std::string_view& rest);
// `rest` without its leading blanks.
std::string_view skipBlanks(std::string_view rest);
// The handles of a contact list: separated by blanks or commas, empty ones passed over.
std::vector<std::string_view> splitHandles(std::string_view list);

}  // namespace tarnix
