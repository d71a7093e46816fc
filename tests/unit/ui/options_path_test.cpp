#include "main_window_fixture.h"
#include "ui/framework/control_id.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/options_dialog.h"
#include "ui/tone_settings_page.h"
#include "virtual_handsets.h"

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>

namespace tarnix::test {
namespace {

class OptionsPathTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(window.CreateMainWindow()); }

    bool voiceButton() const
    {
        return window.toolbar()->action(MainToolbar::kCommandVoiceAnswering)->isChecked();
    }
    bool textButton() const
    {
        return window.toolbar()->action(MainToolbar::kCommandTextAnswering)->isChecked();
    }
    QString fileMenu() const { return window.Handle()->findChild<QMenuBar*>()->actions()[0]->text(); }
    bool saved(const char* piece) const { return folder.read("config.xml").find(piece) != std::string::npos; }
};

TEST_F(OptionsPathTest, OkSavesAndShowsWhatTheDialogChanged)
{
    dialogs.options = [this](QWidget* owner, const std::function<void()>&) {
        EXPECT_EQ(owner, window.Handle());
        settings.voiceAnswering = 0;
        config.SetLanguage(1);
        return true;
    };
    ASSERT_TRUE(voiceButton());
    command(MenuCommand::Options);
    EXPECT_EQ(dialogs.optionsRuns, 1);
    EXPECT_TRUE(saved("<Voice value='0'>"));
    EXPECT_TRUE(saved("<Language value='1' />"));
    EXPECT_FALSE(voiceButton());
    EXPECT_EQ(window.Handle()->windowTitle(), QString::fromUtf8("VEZ 主窗口"));
    EXPECT_EQ(fileMenu(), QString::fromUtf8("文件(&F)"));
}

TEST_F(OptionsPathTest, CancelLeavesFileButtonsAndTextsAlone)
{
    dialogs.options = [this](QWidget*, const std::function<void()>&) {
        settings.voiceAnswering = 0;
        return false;
    };
    command(MenuCommand::Options);
    EXPECT_FALSE(folder.exists("config.xml"));
    EXPECT_TRUE(voiceButton());
    EXPECT_EQ(window.Handle()->windowTitle(), "VEZ Main Window");
}

TEST_F(OptionsPathTest, ApplySavesAndShowsAtOnceWhileTheDialogStaysOpen)
{
    dialogs.options = [this](QWidget*, const std::function<void()>& refresh) {
        settings.textAnswering = 0;
        refresh();
        EXPECT_TRUE(saved("<Text value='0'>"));
        EXPECT_FALSE(textButton());
        // Changed again, then cancelled: the applied state stays.
        settings.textAnswering = 1;
        return false;
    };
    command(MenuCommand::Options);
    EXPECT_TRUE(saved("<Text value='0'>"));
    EXPECT_FALSE(textButton());
}

// Exit from the tray ends the dialog before the window goes; nothing it started goes on.
TEST_F(OptionsPathTest, ExitDuringARingTestStopsTheRingerAndGivesBackTheVolume)
{
    auto handset = std::make_shared<sim::VirtualMelodyHandset>();
    rig.bus.plug(handset);
    rig.start();
    settings.ringVolume = 50;
    OptionsDialog real(rig.loop, [this] {
        OptionsDialog::Pages pages;
        pages.push_back(std::make_unique<ToneSettingsPage>(rig.loop, rig.channel(), settings));
        return pages;
    });
    dialogs.options = [&real](QWidget* owner, const std::function<void()>& refresh) {
        return real.Open(owner, refresh) == IDOK;
    };
    bool rang = false;
    const int code = runLoop([&] {
        QTimer::singleShot(50, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            qobject_cast<QPushButton*>(findControl(*dialog, ToneSettingsPage::kSkypeTestId))->click();
            auto* slider = qobject_cast<QSlider*>(findControl(*dialog, ToneSettingsPage::kVolumeSliderId));
            slider->setSliderDown(true);
            slider->setSliderPosition(95);
            rig.loop.advance(150);
            rang = handset->ringing();
            answerNextMessageBox(QMessageBox::Yes);
            tray().menu().actions().back()->trigger();
        });
        command(MenuCommand::Options);
    });
    rig.loop.advance(500);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(rang);
    EXPECT_FALSE(handset->ringing());
    EXPECT_EQ(handset->ringerVolume(), 50 * 16 / 100);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(real.Handle(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(rig.loop.pendingTasks(), 0u);
    EXPECT_TRUE(saved("<Tone Skype='0' QQ='0' Volume='50'/>")) << "nothing of the cancelled page is kept";
}

}  // namespace
}  // namespace tarnix::test
