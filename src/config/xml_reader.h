#pragma once

#include <string>

#include "config/byte_stream.h"
#include "config/utf8_string.h"
#include "config/xml_attributes.h"
#include "config/xml_content_handler.h"

namespace tarnix {

// A small streaming reader for the subset of XML the program's own files use: elements with
// attributes, text, CDATA sections and processing instructions, the five predefined entities and
// numeric character references. Comments and document type declarations are rejected. It reads
// byte by byte and buffers only the current name, text, value or reference.
class XmlReader {
public:
    // The handler is not owned; without one the events are dropped.
    explicit XmlReader(XmlContentHandler* handler) : handler_(handler) {}

    // Reads to the end of the stream or to the root element's end tag. Throws SAXException on
    // malformed input; the events reported before the fault stay reported.
    void parse(ByteStream& stream, bool decodeEntities, bool skipWhitespace);

    // The name of the first start tag seen; kept across parse calls (a reader serves one file).
    const Utf8String& rootName() const { return rootName_; }

private:
    int next() { return stream_->readByte(); }
    // Each takes the current byte (or reads it) and returns the byte it stopped at, -1 at the end.
    int readWhitespace(int c);
    int readText(int c);
    int readProcessingInstruction();
    int readCdata();
    int readStartTag(int c);
    int readAttributes(int c);
    // Leaves the value in value_; stops after the closing quote or at the end.
    void readAttributeValue(int quote);
    // Decodes the reference after "&" into out; terminator is the byte that ends the enclosing
    // text or value and so must not come before the ";".
    void readReference(std::string& out, int terminator);

    void reportCharacters(const std::string& text);

    XmlContentHandler* handler_;
    Utf8String rootName_;
    bool decodeEntities_ = true;
    bool skipWhitespace_ = true;
    ByteStream* stream_ = nullptr;

    std::string name_;
    std::string text_;
    std::string attributeName_;
    std::string reference_;
    std::string value_;
    XmlAttributes attributes_;
};

}  // namespace tarnix
