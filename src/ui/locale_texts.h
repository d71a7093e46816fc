#pragma once

#include "ui/framework/language_texts.h"

namespace tarnix {

class LocaleTable;

// The language file's texts, in the language of the moment, as the window framework asks for
// them.
class LocaleTexts final : public LanguageTexts {
public:
    explicit LocaleTexts(const LocaleTable& table) : table_(table) {}

    std::optional<QString> text(int id) const override;
    // The id's text, or the default when the language file has no item for it.
    QString text(int id, std::u16string_view defaultText) const;

private:
    const LocaleTable& table_;
};

}  // namespace tarnix
