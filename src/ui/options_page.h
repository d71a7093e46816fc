#pragma once

#include "ui/framework/dialog.h"

#include <QString>

#include <string_view>

namespace tarnix {

class LanguageTexts;

// The language text of the id, or the default when there are no texts or the id has none.
QString languageText(const LanguageTexts* texts, int id, std::u16string_view defaultText);

// One tab of the options dialog: a child dialog that writes its controls into the settings when
// the dialog applies. Pages are made for each opening of the dialog and go with it.
class OptionsPage : public Dialog {
public:
    using Dialog::Dialog;

    // Makes the page's window, hidden, inside the options dialog's window.
    virtual bool CreatePage(QWidget* parent) = 0;
    // The tab's language text id and its text when the language file has none.
    virtual int TabTextId() const = 0;
    virtual std::u16string_view DefaultTabText() const = 0;
    // Writes the page's controls into the settings (OK and Apply).
    virtual void ApplyPage() = 0;

    // Escape and Enter inside a page are the options dialog's, as they are for its own controls.
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;

protected:
    QString Text(int id, std::u16string_view defaultText) const
    {
        return languageText(Texts(), id, defaultText);
    }
};

}  // namespace tarnix
