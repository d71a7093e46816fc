#include "config/xml_reader.h"

#include "config/sax_exception.h"
#include "config/text_utils.h"

namespace tarnix {

namespace {

bool isWhitespace(int c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}
bool isLetter(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isNameStart(int c)
{
    return isLetter(c) || c == '_' || c == ':';
}
bool isNameByte(int c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-';
}

int digitValue(int c, int base)
{
    int v = 99;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// "#65", "#x41": leading blanks and a sign are allowed and only the leading digits count, as the
// program has always read them. The character is added as UTF-8; a number that names no
// character is malformed.
char32_t characterReference(std::string_view ref)
{
    std::size_t p = 1;
    int base = 10;
    if (p < ref.size() && (ref[p] == 'x' || ref[p] == 'X')) base = 16, ++p;
    while (p < ref.size() && (ref[p] == ' ' || (ref[p] >= '\t' && ref[p] <= '\r'))) ++p;
    const bool negative = p < ref.size() && ref[p] == '-';
    if (p < ref.size() && (ref[p] == '-' || ref[p] == '+')) ++p;
    constexpr std::int64_t kBeyond = 0x110000;
    std::int64_t value = 0;
    for (int d; p < ref.size() && (d = digitValue(static_cast<unsigned char>(ref[p]), base)) >= 0; ++p) {
        value = std::min(value * base + d, kBeyond);
    }
    if (negative || value == 0 || value >= kBeyond || (value >= 0xD800 && value <= 0xDFFF))
        throw SAXException();
    return static_cast<char32_t>(value);
}

}  // namespace

void XmlReader::parse(ByteStream& stream, bool decodeEntities, bool skipWhitespace)
{
    stream_ = &stream;
    decodeEntities_ = decodeEntities;
    skipWhitespace_ = skipWhitespace;

    int c = next();
    while (c != -1 && c != '<') c = next();
    if (c == -1) return;

    for (;;) {
        c = readWhitespace(c);
        if (c == -1) return;
        if (c != '<') {
            c = readText(c);
            continue;
        }
        c = next();
        if (c == -1) return;
        if (c == '?') {
            c = readProcessingInstruction();
        } else if (c == '!') {
            c = readCdata();
        } else if (c == '/') {
            // The name is taken as written, blanks and all, so "</Config >" does not end "Config".
            name_.clear();
            for (c = next(); c != -1 && c != '>'; c = next()) name_.push_back(static_cast<char>(c));
            if (handler_ != nullptr) handler_->endElement(name_.c_str());
            if (name_ == rootName_.view()) {
                if (handler_ != nullptr) handler_->endDocument();
                return;
            }
        } else if (isNameStart(c)) {
            c = readStartTag(c);
        } else {
            throw SAXException();
        }
        if (c == -1) return;
        c = next();
    }
}

int XmlReader::readWhitespace(int c)
{
    text_.clear();
    for (; isWhitespace(c); c = next()) {
        if (!skipWhitespace_) text_.push_back(static_cast<char>(c));
    }
    if (!text_.empty()) reportCharacters(text_);
    return c;
}

int XmlReader::readText(int c)
{
    text_.clear();
    for (; c != -1 && c != '<'; c = next()) {
        if (c == '&' && decodeEntities_) {
            readReference(text_, '<');
        } else {
            text_.push_back(static_cast<char>(c));
        }
    }
    reportCharacters(text_);
    return c;
}

int XmlReader::readProcessingInstruction()
{
    for (int previous = '?';;) {
        const int c = next();
        if (c == -1 || (previous == '?' && c == '>')) return c;
        previous = c;
    }
}

int XmlReader::readCdata()
{
    for (const char expected : std::string_view("[CDATA[")) {
        if (next() != expected) throw SAXException();
    }
    int c = next();
    if (c == -1) throw SAXException();
    text_.clear();
    for (; c != -1; c = next()) {
        text_.push_back(static_cast<char>(c));
        if (text_.ends_with("]]>")) {
            text_.resize(text_.size() - 3);
            break;
        }
    }
    reportCharacters(text_);
    return c;
}

int XmlReader::readStartTag(int c)
{
    name_.assign(1, static_cast<char>(c));
    for (c = next(); isNameByte(c); c = next()) name_.push_back(static_cast<char>(c));
    if (c == -1) return c;
    if (rootName_.isEmpty()) {
        rootName_ = Utf8String(name_);
        if (handler_ != nullptr) handler_->startDocument();
    }
    attributes_.clear();
    return readAttributes(c);
}

int XmlReader::readAttributes(int c)
{
    for (;;) {
        while (isWhitespace(c)) c = next();
        if (c == '>') {
            if (handler_ != nullptr) handler_->startElement(name_.c_str(), attributes_);
            return c;
        }
        if (c == '/') {
            c = next();
            if (c != '>') throw SAXException();
            if (handler_ != nullptr) {
                handler_->startElement(name_.c_str(), attributes_);
                handler_->endElement(name_.c_str());
            }
            return c;
        }
        attributeName_.clear();
        for (; isNameByte(c); c = next()) attributeName_.push_back(static_cast<char>(c));
        while (isWhitespace(c)) c = next();
        // An attribute without "=" ends the tag without a start event; its end tag still counts.
        if (c != '=') return c;
        do c = next();
        while (isWhitespace(c));
        if (c != '\'' && c != '"') throw SAXException();
        readAttributeValue(c);
        attributes_.add(attributeName_, value_);
        c = next();
        if (c == -1) return c;
    }
}

void XmlReader::readAttributeValue(int quote)
{
    value_.clear();
    for (int c = next(); c != -1 && c != quote; c = next()) {
        if (c == '&' && decodeEntities_) {
            readReference(value_, quote);
        } else {
            value_.push_back(static_cast<char>(c));
        }
    }
}

void XmlReader::readReference(std::string& out, int terminator)
{
    reference_.clear();
    for (int c = next(); c != ';'; c = next()) {
        if (c == -1 || c == terminator) throw SAXException();
        reference_.push_back(static_cast<char>(c));
    }
    if (reference_ == "amp") {
        out.push_back('&');
    } else if (reference_ == "apos") {
        out.push_back('\'');
    } else if (reference_ == "quot") {
        out.push_back('"');
    } else if (reference_ == "lt") {
        out.push_back('<');
    } else if (reference_ == "gt") {
        out.push_back('>');
    } else if (reference_.starts_with('#')) {
        appendUtf8(out, characterReference(reference_));
    } else {
        throw SAXException();
    }
}

void XmlReader::reportCharacters(const std::string& text)
{
    if (handler_ != nullptr) handler_->characters(text.c_str(), static_cast<int>(text.size()));
}

}  // namespace tarnix
