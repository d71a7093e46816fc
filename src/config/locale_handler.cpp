#include "config/locale_handler.h"

#include <string_view>

#include "config/text_utils.h"
#include "config/utf8_string.h"

namespace tarnix {

void LocaleHandler::startElement(const char* name, const XmlAttributes& attributes)
{
    const std::string_view element(name);
    std::u16string* text = nullptr;
    if (element == "Item") {
        item_ = LocaleItem{};
        item_.id = leadingInteger(attributes.find("ID"));
        item_.enable = leadingInteger(attributes.find("Enable"));
    } else if (element == "English") {
        text = &item_.english;
    } else if (element == "SimpleChinese") {
        text = &item_.simpleChinese;
    } else if (element == "TraditionalChinese") {
        text = &item_.traditionalChinese;
    }
    if (text != nullptr) {
        const char* value = attributes.find("value");
        *text = value == nullptr ? std::u16string() : toWide(std::string_view(value));
    }
}

void LocaleHandler::endElement(const char* name)
{
    if (std::string_view(name) == "Item") table_.add(item_);
}

}  // namespace tarnix
