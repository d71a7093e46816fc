#include "program/program_dialogs.h"

#include "device/handset_service.h"
#include "program/program_log.h"
#include "ui/answering_page.h"
#include "ui/tone_settings_page.h"

namespace tarnix {

ProgramDialogs::ProgramDialogs(EventLoop& loop, HandsetService& handsets, Settings& settings,
                               const LocaleTable& locale)
    : loop_(loop), handsets_(handsets), settings_(settings), texts_(locale), options_(loop, [this] {
          return makeOptionsPages();
      })
{
    options_.SetLanguageTexts(&texts_);
}

bool ProgramDialogs::runOptions(QWidget* owner, const std::function<void()>& refresh)
{
    return options_.Open(owner, refresh) == IDOK;
}

void ProgramDialogs::runHandsetTest(QWidget*)
{
    qCInfo(lcProgram, "the handset test dialog is not part of this program yet");
}

OptionsDialog::Pages ProgramDialogs::makeOptionsPages()
{
    OptionsDialog::Pages pages;
    pages.push_back(std::make_unique<ToneSettingsPage>(loop_, handsets_.channel(), settings_));
    pages.push_back(std::make_unique<AnsweringPage>(loop_, settings_));
    return pages;
}

}  // namespace tarnix
