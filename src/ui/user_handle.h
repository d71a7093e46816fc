#pragma once

#include <string_view>

namespace tarnix {

// Whether the text (UTF-8) is one messenger handle a command may carry: not empty, and without a
// blank, a comma or a control character, which would make it several handles or end the
// command early.
bool isSingleHandle(std::string_view utf8);

}  // namespace tarnix
