#pragma once

#include <string>
#include <vector>

#include "config/xml_content_handler.h"

namespace tarnix::test {

// Writes every event as one line: "doc", "<name a=1 b=2>", "text[...]", "</name>", "/doc".
class RecordingHandler : public XmlContentHandler {
public:
    void startDocument() override { events.emplace_back("doc"); }
    void startElement(const char* name, const XmlAttributes& attributes) override
    {
        std::string line = std::string("<") + name;
        for (int i = 0; i < attributes.count(); ++i) {
            line += std::string(" ") + attributes.name(i) + "=" + attributes.value(i);
        }
        events.push_back(line + ">");
    }
    void characters(const char* text, int length) override
    {
        events.push_back("text[" + std::string(text, static_cast<std::size_t>(length)) + "]");
    }
    void endElement(const char* name) override { events.push_back(std::string("</") + name + ">"); }
    void endDocument() override { events.emplace_back("/doc"); }

    std::vector<std::string> events;
};

}  // namespace tarnix::test
