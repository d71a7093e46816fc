#pragma once

#include <string>
#include <string_view>

#include "config/utf8_string.h"

namespace tarnix {

// Wide text is UTF-16. Unpaired surrogates become U+FFFD.
Utf8String fromWide(const char16_t* text, int count);
// A NUL-terminated wide text; null gives the empty string.
Utf8String fromWide(const char16_t* text);
Utf8String fromWide(std::u16string_view text);

// Decodes the bytes up to the first NUL. Malformed sequences (stray continuation bytes, overlong
// forms, surrogates, values above U+10FFFF, cut-off sequences) each become one U+FFFD.
std::u16string toWide(const Utf8String& text);
std::u16string toWide(std::string_view bytes);

// The five XML specials become "&amp;", "&lt;", "&gt;", "&quot;" and "&apos;". A text with
// nothing to escape comes back sharing its block.
Utf8String xmlEscape(const Utf8String& text);

// Appends the UTF-8 form of a code point (at most U+10FFFF, not a surrogate).
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace tarnix
