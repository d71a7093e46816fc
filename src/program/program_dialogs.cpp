#include "program/program_dialogs.h"

#include "program/program_log.h"

namespace tarnix {

ProgramDialogs::ProgramDialogs(EventLoop& loop, const LocaleTable& locale,
                               const HandsetTestDialog::Parts& handsetTest)
    : texts_(locale), handsetTest_(loop, handsetTest)
{
    handsetTest_.SetLanguageTexts(&texts_);
}

bool ProgramDialogs::runOptions(QWidget*)
{
    qCInfo(lcProgram, "the options dialog is not part of this program yet");
    return false;
}

void ProgramDialogs::runHandsetTest(QWidget* owner)
{
    handsetTest_.Open(owner);
}

}  // namespace tarnix
