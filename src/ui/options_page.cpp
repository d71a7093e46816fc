#include "ui/options_page.h"

#include "ui/framework/language_texts.h"

namespace tarnix {

QString languageText(const LanguageTexts* texts, int id, std::u16string_view defaultText)
{
    const std::optional<QString> text = texts ? texts->text(id) : std::nullopt;
    return text.value_or(QString::fromStdU16String(std::u16string(defaultText)));
}

LRESULT OptionsPage::OnCommand(WPARAM wparam, QWidget*)
{
    const unsigned id = LOWORD(wparam);
    if (id != IDOK && id != IDCANCEL) return 0;
    QWidget* page = Handle();
    for (QWidget* p = page ? page->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (Window* container = FromHandle(p)) return container->SendMessage(WM_COMMAND, wparam, 0);
    }
    return 0;
}

}  // namespace tarnix
