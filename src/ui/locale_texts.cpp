#include "ui/locale_texts.h"

#include "config/locale_table.h"

namespace tarnix {

std::optional<QString> LocaleTexts::text(int id) const
{
    const LocaleItem* item = table_.FindLocaleItem(id);
    if (item == nullptr) return std::nullopt;
    return QString::fromStdU16String(table_.ItemText(*item));
}

QString LocaleTexts::text(int id, std::u16string_view defaultText) const
{
    return QString::fromStdU16String(table_.LocaleText(id, defaultText));
}

}  // namespace tarnix
