#include "config/text_utils.h"

#include <cstring>

namespace tarnix {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// Decodes one sequence at bytes[i], advancing i past it; a malformed sequence consumes its lead
// byte and the continuation bytes that fit it so far.
char32_t decodeOne(std::string_view bytes, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) return kReplacement;
    return c;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

Utf8String fromWide(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return Utf8String(out);
}

Utf8String fromWide(const char16_t* text, int count)
{
    if (text == nullptr || count <= 0) return {};
    return fromWide(std::u16string_view(text, static_cast<std::size_t>(count)));
}

Utf8String fromWide(const char16_t* text)
{
    if (text == nullptr) return {};
    return fromWide(std::u16string_view(text));
}

std::u16string toWide(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) appendUtf16(out, decodeOne(bytes, i));
    return out;
}

std::u16string toWide(const Utf8String& text)
{
    return toWide(text.view());
}

Utf8String xmlEscape(const Utf8String& text)
{
    std::size_t escapedLength = 0;
    for (const char c : text.view()) {
        switch (c) {
            case '&':
                escapedLength += 5;
                break;
            case '<':
            case '>':
                escapedLength += 4;
                break;
            case '"':
            case '\'':
                escapedLength += 6;
                break;
            default:
                escapedLength += 1;
        }
    }
    if (escapedLength == text.view().size()) return text;

    std::string out;
    out.reserve(escapedLength);
    for (const char c : text.view()) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out.push_back(c);
        }
    }
    return Utf8String(out);
}

}  // namespace tarnix
