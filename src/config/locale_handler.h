#pragma once

#include "config/locale_table.h"
#include "config/xml_content_handler.h"

namespace tarnix {

// Reads the Item elements of locale.xml, under any root, into a LocaleTable.
class LocaleHandler final : public XmlContentHandler {
public:
    explicit LocaleHandler(LocaleTable& table) : table_(table) {}

    void startElement(const char* name, const XmlAttributes& attributes) override;
    void endElement(const char* name) override;

private:
    LocaleTable& table_;
    LocaleItem item_;
};

}  // namespace tarnix
