#pragma once

#include "config/utf8_string.h"

#include <ctime>
#include <string>

namespace tarnix {

// A handle as it may stand in a file name: every byte outside [A-Za-z0-9._+-] and a leading
// "." become "_", cut to kMaxHandleBytes. The record keeps the real handle.
std::string fileNameHandle(const Utf8String& handle);

// "alice2005-08-09#14-03-07": the name of a message file without its extension, for the handle
// and the moment answering started.
std::string messageFileStem(const Utf8String& handle, const std::tm& time);

inline constexpr std::size_t kMaxHandleBytes = 64;

}  // namespace tarnix
