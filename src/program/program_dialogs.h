#pragma once

#include "ui/dialog_launcher.h"
#include "ui/handset_test_dialog.h"
#include "ui/locale_texts.h"

namespace tarnix {

class EventLoop;
class LocaleTable;

// The dialogs the main window opens, over the program's own objects.
class ProgramDialogs final : public DialogLauncher {
public:
    ProgramDialogs(EventLoop& loop, const LocaleTable& locale, const HandsetTestDialog::Parts& handsetTest);

    bool runOptions(QWidget* owner) override;
    void runHandsetTest(QWidget* owner) override;

private:
    LocaleTexts texts_;
    HandsetTestDialog handsetTest_;
};

}  // namespace tarnix
