#pragma once

#include "ui/dialog_launcher.h"
#include "ui/handset_test_dialog.h"
#include "ui/locale_texts.h"
#include "ui/options_dialog.h"

namespace tarnix {

class EventLoop;
class HandsetService;
class LocaleTable;
struct Settings;

// The program's options and handset test dialogs, as the main window opens them.
class ProgramDialogs final : public DialogLauncher {
public:
    // The handset layer is asked for its channel only when a dialog opens.
    ProgramDialogs(EventLoop& loop, HandsetService& handsets, Settings& settings, const LocaleTable& locale,
                   const HandsetTestDialog::Parts& handsetTest);

    bool runOptions(QWidget* owner, const std::function<void()>& refresh) override;
    void runHandsetTest(QWidget* owner) override;

private:
    OptionsDialog::Pages makeOptionsPages();

    EventLoop& loop_;
    HandsetService& handsets_;
    Settings& settings_;
    LocaleTexts texts_;
    OptionsDialog options_;
    HandsetTestDialog handsetTest_;
};

}  // namespace tarnix
