#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace tarnix {

class ByteStream;

// The texts of one id in the three interface languages; a missing text is empty.
struct LocaleItem {
    std::int32_t id = 0;
    std::int32_t enable = 0;  // kept as read; nothing depends on it
    std::u16string english;
    std::u16string simpleChinese;
    std::u16string traditionalChinese;
};

// The interface texts from locale.xml by numeric id, and the current interface language
// (0 English, 1 Simplified Chinese, 2 Traditional Chinese, anything else English).
class LocaleTable {
public:
    static constexpr const char* kFileName = "locale.xml";

    // Loads folder + "locale.xml". Returns false when it cannot be opened; the table then
    // stays as it is. A file that is not well-formed keeps the items read before the fault.
    bool LoadLocale(const std::string& folder);
    // Empties the table and reads the items from the stream, as LoadLocale does.
    void load(ByteStream& stream);

    // Adds the item under its id unless the id is taken: the first item of an id wins.
    void add(const LocaleItem& item) { items_.try_emplace(item.id, item); }
    // Null when the table has no item for the id.
    const LocaleItem* FindLocaleItem(std::int32_t id) const;
    // The item's text in the current language, empty when it has none: there is no fall-back
    // to another language.
    const std::u16string& ItemText(const LocaleItem& item) const;
    // ItemText of the id's item, or the default when the table has no such item.
    std::u16string LocaleText(std::int32_t id, std::u16string_view defaultText) const;

    std::size_t size() const { return items_.size(); }
    std::int32_t language() const { return language_; }
    void setLanguage(std::int32_t language) { language_ = language; }

private:
    std::map<std::int32_t, LocaleItem> items_;
    std::int32_t language_ = 0;
};

}  // namespace tarnix
