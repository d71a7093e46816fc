#include "config/locale_table.h"

#include "config/byte_stream.h"
#include "config/config_log.h"
#include "config/locale_handler.h"
#include "config/sax_exception.h"
#include "config/xml_reader.h"

namespace tarnix {

bool LocaleTable::LoadLocale(const std::string& folder)
{
    const std::unique_ptr<FileStream> stream = FileStream::open(folder + kFileName);
    if (stream == nullptr) {
        qCInfo(lcConfig) << "no" << kFileName << "in" << folder.c_str() << "- built-in English texts";
        return false;
    }
    load(*stream);
    qCDebug(lcConfig) << "loaded" << items_.size() << "texts from" << (folder + kFileName).c_str();
    return true;
}

void LocaleTable::load(ByteStream& stream)
{
    items_.clear();
    LocaleHandler handler(*this);
    XmlReader reader(&handler);
    try {
        reader.parse(stream, true, true);
    } catch (const SAXException&) {
        qCWarning(lcConfig) << kFileName << "is not well-formed; using the" << items_.size()
                            << "texts read before the fault";
    }
}

const LocaleItem* LocaleTable::FindLocaleItem(std::int32_t id) const
{
    const auto it = items_.find(id);
    return it == items_.end() ? nullptr : &it->second;
}

const std::u16string& LocaleTable::ItemText(const LocaleItem& item) const
{
    switch (language_) {
        case 1:
            return item.simpleChinese;
        case 2:
            return item.traditionalChinese;
        default:
            return item.english;
    }
}

std::u16string LocaleTable::LocaleText(std::int32_t id, std::u16string_view defaultText) const
{
    const LocaleItem* item = FindLocaleItem(id);
    return item == nullptr ? std::u16string(defaultText) : ItemText(*item);
}

}  // namespace tarnix
