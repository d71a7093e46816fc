#include "program/program_dialogs.h"

#include "device/handset_service.h"
#include "ui/answering_page.h"
#include "ui/tone_settings_page.h"

namespace tarnix {

ProgramDialogs::ProgramDialogs(EventLoop& loop, HandsetService& handsets, Settings& settings,
                               const LocaleTable& locale, const HandsetTestDialog::Parts& handsetTest)
    : loop_(loop),
      handsets_(handsets),
      settings_(settings),
      texts_(locale),
      options_(loop, [this] { return makeOptionsPages(); }),
      handsetTest_(loop, handsetTest)
{
    options_.SetLanguageTexts(&texts_);
    handsetTest_.SetLanguageTexts(&texts_);
}

bool ProgramDialogs::runOptions(QWidget* owner, const std::function<void()>& refresh)
{
    return options_.Open(owner, refresh) == IDOK;
}

void ProgramDialogs::runHandsetTest(QWidget* owner)
{
    handsetTest_.Open(owner);
}

OptionsDialog::Pages ProgramDialogs::makeOptionsPages()
{
    OptionsDialog::Pages pages;
    pages.push_back(std::make_unique<ToneSettingsPage>(loop_, handsets_.channel(), settings_));
    pages.push_back(std::make_unique<AnsweringPage>(loop_, settings_));
    return pages;
}

}  // namespace tarnix
