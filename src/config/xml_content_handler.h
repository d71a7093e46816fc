#pragma once

#include "config/xml_attributes.h"

namespace tarnix {

// Receives the events of XmlReader. Names and texts are NUL-terminated, owned by the reader and
// valid only during the call. Every operation does nothing unless overridden.
class XmlContentHandler {
public:
    virtual ~XmlContentHandler() = default;
    // Once, when the first start tag's name has been read, before its attributes.
    virtual void startDocument() {}
    // A start tag or an empty-element tag, read completely.
    virtual void startElement(const char* /*name*/, const XmlAttributes& /*attributes*/) {}
    // Text, a CDATA section's content, or whitespace between markup when it is not skipped.
    virtual void characters(const char* /*text*/, int /*length*/) {}
    // An end tag, or the end of an empty-element tag.
    virtual void endElement(const char* /*name*/) {}
    // The root element's end tag; parsing stops after it.
    virtual void endDocument() {}
};

}  // namespace tarnix
