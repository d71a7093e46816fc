#include "main_window_fixture.h"
#include "ui/framework/control_id.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/message_box_error_reporter.h"
#include "ui/message_list.h"
#include "virtual_handsets.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>

// Read by the leak checker of sanitizer builds: fontconfig keeps the font caches the message
// boxes load until the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace tarnix::test {
namespace {

constexpr const char* kConfig = R"xml(<?xml version='1.0' encoding='utf-8'?>
<Config>
	<General>
		<Language value='1' />
	</General>
	<Voice value='1'>
		<VoiceMaxTime value='7' />
	</Voice>
</Config>
)xml";

TEST_F(MainWindowTest, StartsHiddenWithTheNoHandsetIconAndNoTip)
{
    ASSERT_TRUE(window.CreateMainWindow());
    ASSERT_NE(window.trayIcon(), nullptr);
    EXPECT_FALSE(window.Handle()->isVisible());
    EXPECT_EQ(tray().iconId(), TrayIconId::NoHandset);
    EXPECT_EQ(tray().tip(), QString());
}

TEST_F(MainWindowTest, StartsWithTheNoMessengerIconWhenAHandsetIsAlreadyThere)
{
    rig.bus.plug(std::make_shared<sim::VirtualLcdHandset>());
    rig.start();
    ASSERT_TRUE(window.CreateMainWindow());
    EXPECT_EQ(tray().iconId(), TrayIconId::NoMessenger);
}

TEST_F(MainWindowTest, TrayStatesShowTheirIconAndTip)
{
    struct Case {
        const char* name;
        void (MainWindow::*show)();
        bool qqAttached;
        int icon;
        const char* tip;
    };
    const Case cases[] = {
        {"ready", &MainWindow::TrayShowReady, false, 129, "Tarnix USB Device Driver (Skype Feature-Enabled)"},
        {"no handset", &MainWindow::TrayShowNoHandset, false, 130,
         "Tarnix USB Device Driver (Please Connect USB Phone)"},
        {"no messenger", &MainWindow::TrayShowNoMessenger, false, 131,
         "Tarnix USB Device Driver (Please Launch Skype)"},
        {"no messenger, QQ attached", &MainWindow::TrayShowNoMessenger, true, 129,
         "Tarnix USB Device Driver (Skype Feature-Enabled)"},
        {"no handset, QQ attached", &MainWindow::TrayShowNoHandset, true, 130,
         "Tarnix USB Device Driver (Please Connect USB Phone)"},
    };
    ASSERT_TRUE(window.CreateMainWindow());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qq.attached = c.qqAttached;
        (window.*c.show)();
        EXPECT_EQ(tray().iconId(), c.icon);
        EXPECT_EQ(tray().tip(), QString::fromLatin1(c.tip));
    }
}

TEST_F(MainWindowTest, TrayStatesBeforeTheWindowExistsAreHarmless)
{
    window.TrayShowReady();
    window.TrayShowNoMessenger();
    window.TrayShowNoHandset();
    EXPECT_EQ(window.trayIcon(), nullptr);
}

TEST_F(MainWindowTest, InitialisationTakesTheLanguageOfConfigXmlFromTheLanguageFile)
{
    folder.write("config.xml", kConfig);
    ASSERT_TRUE(window.CreateMainWindow());
    EXPECT_EQ(settings.voiceMaxTime, 7);
    EXPECT_EQ(window.Handle()->windowTitle(), QString::fromUtf8("VEZ 主窗口"));

    QMenu& menu = tray().menu();
    emit menu.aboutToShow();
    EXPECT_EQ(menu.actions().front()->text(), QString::fromUtf8("主窗口(&M)"));
    EXPECT_EQ(menu.actions().back()->text(), QString::fromUtf8("退出(&X)"));
}

TEST_F(MainWindowTest, ConfirmedExitSavesConfigAndEndsTheLoopWithZero)
{
    folder.write("config.xml", kConfig);
    ASSERT_TRUE(window.CreateMainWindow());
    locale.setLanguage(0);
    answerNextMessageBox(QMessageBox::Yes);

    QMenu& menu = tray().menu();
    EXPECT_EQ(runLoop([&] { menu.actions().back()->trigger(); }), 0);

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, "USB Phone");
    EXPECT_EQ(seen.text, "Do you really want to exit?");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(window.Handle(), nullptr);
    const std::string saved = folder.read("config.xml");
    EXPECT_NE(saved.find("<VoiceMaxTime value='7' />"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<Language value='1' />"), std::string::npos) << saved;
}

TEST_F(MainWindowTest, DeclinedExitKeepsTheProgramAndTouchesNoFile)
{
    folder.write("config.xml", kConfig);
    ASSERT_TRUE(window.CreateMainWindow());
    answerNextMessageBox(QMessageBox::No);

    const int code = runLoop([&] {
        window.SendMessage(WM_COMMAND, MainWindow::kCommandExit, 0);
        QCoreApplication::exit(7);
    });
    EXPECT_EQ(code, 7);
    EXPECT_TRUE(seen.shown);
    EXPECT_NE(window.Handle(), nullptr);
    EXPECT_EQ(folder.read("config.xml"), kConfig);
}

TEST_F(MainWindowTest, EndingTheSessionSavesAndEndsTheLoopWithZero)
{
    ASSERT_TRUE(window.CreateMainWindow());
    EXPECT_EQ(runLoop([&] { window.EndSession(); }), 0);
    EXPECT_EQ(window.Handle(), nullptr);
    // The work left was finished before the save.
    EXPECT_NE(folder.read("config.xml").find("<UserName value='alice'/>"), std::string::npos);
}

TEST_F(MainWindowTest, SessionEndingWhileTheExitQuestionIsOpenStillSavesAndQuits)
{
    ASSERT_TRUE(window.CreateMainWindow());
    whenMessageBoxShows([this](QMessageBox&) { window.EndSession(); });
    EXPECT_EQ(runLoop([&] { window.SendMessage(WM_COMMAND, MainWindow::kCommandExit, 0); }), 0);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_TRUE(folder.exists("config.xml"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, EndingTheSessionWithoutAWindowStillSaves)
{
    EXPECT_EQ(runLoop([&] { window.EndSession(); }), 0);
    EXPECT_TRUE(folder.exists("config.xml"));
}

TEST_F(MainWindowTest, ClosingTheWindowOnlyHidesIt)
{
    ASSERT_TRUE(window.CreateMainWindow());
    window.Handle()->show();
    window.SendMessage(WM_COMMAND, IDCANCEL, 0);
    processQtEvents();
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_FALSE(window.Handle()->isVisible());
    EXPECT_FALSE(folder.exists("config.xml"));
}

TEST_F(MainWindowTest, InitialisationBuildsTheListToolbarAndStatusBar)
{
    settings.setVoiceAnswering(true);
    settings.setTextAnswering(false);
    ASSERT_TRUE(window.CreateMainWindow());
    QWidget& w = *window.Handle();
    EXPECT_EQ(w.windowTitle(), "VEZ Main Window");
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_EQ(w.minimumSize(), QSize(300, 400));

    auto* list = qobject_cast<QTreeWidget*>(window.GetDlgItem(MessageList::kControlId));
    ASSERT_NE(list, nullptr);
    const QStringList headers{"姓名", "全称", "来电时间", "答录时间", "录音时长"};
    ASSERT_EQ(list->columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c) {
        EXPECT_EQ(list->headerItem()->text(c), headers[c]);
        EXPECT_GE(list->columnWidth(c), 100);
        EXPECT_EQ(list->columnWidth(c) == 100, c != 2 && c != 3);
    }

    std::vector<int> ids;
    for (QAction* action : w.findChild<QToolBar*>()->actions()) ids.push_back(controlId(*action));
    EXPECT_EQ(ids, (std::vector<int>{2007, 2008, 0, 2006, 2005, 2003, 2004}));
    const MainToolbar& bar = *window.toolbar();
    EXPECT_TRUE(bar.action(2007)->isChecked());
    EXPECT_EQ(bar.action(2007)->text(), "Voice answering enabled");
    EXPECT_EQ(MainToolbar::imageOf(*bar.action(2007)), 1);
    EXPECT_FALSE(bar.action(2008)->isChecked());
    EXPECT_EQ(bar.action(2008)->text(), "Text answering disabled");
    EXPECT_EQ(MainToolbar::imageOf(*bar.action(2008)), 2);
    EXPECT_EQ(bar.action(2006)->toolTip(), "Play");
    EXPECT_EQ(bar.action(2003)->toolTip(), "Make call");

    window.ShowConnectionStatus(1, 0);
    EXPECT_EQ(window.statusText(0), "Connected with Skype");
    EXPECT_EQ(window.statusText(1), "Skype is offline");
    window.ShowConnectionStatus(0, 1);
    EXPECT_EQ(window.statusText(0), "Disconnected with Skype");
    EXPECT_EQ(window.statusText(1), "Skype is online");
}

TEST_F(MainWindowTest, TrayPopupRunsItsStepsOnEveryOpening)
{
    struct Case {
        const char* name;
        bool ringSettings;
        int language;
        std::vector<bool> checks;
    };
    const Case cases[] = {
        {"no handset, English", false, 0, {true, false, false}},
        {"melody handset, Simplified Chinese", true, 1, {false, true, false}},
        {"melody handset, language 5 reads as English", true, 5, {true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HandsetTestRig handsets;
        if (c.ringSettings) {
            handsets.bus.plug(std::make_shared<sim::VirtualMelodyHandset>());
            handsets.start();
        }
        MainWindow shown{loop,
                         {config, settings, locale, environment, handsets.service, qq, skype, playback}};
        ASSERT_TRUE(shown.CreateMainWindow());
        locale.setLanguage(c.language);
        QMenu& menu = shown.trayIcon()->menu();
        emit menu.aboutToShow();
        std::vector<int> ids;
        QMenu* languages = nullptr;
        for (QAction* action : menu.actions()) {
            ids.push_back(controlId(*action));
            if (action->menu()) languages = action->menu();
        }
        // The test dialog's item is gone; the main window's item comes first.
        EXPECT_EQ(ids, (std::vector<int>{32788, 32773, 65548, 0, 32793, 104, 0, 105}));
        ASSERT_NE(languages, nullptr);
        std::vector<bool> checks;
        for (QAction* action : languages->actions()) checks.push_back(action->isChecked());
        EXPECT_EQ(checks, c.checks);
        EXPECT_EQ(menu.actions()[1]->isEnabled(), c.ringSettings);
    }
}

TEST_F(MainWindowTest, LanguageItemsSaveTheLanguageAndRetitleTheWindow)
{
    ASSERT_TRUE(window.CreateMainWindow());
    command(MenuCommand::SimpleChinese);
    EXPECT_NE(folder.read("config.xml").find("<Language value='1' />"), std::string::npos);
    EXPECT_EQ(window.Handle()->windowTitle(), QString::fromUtf8("VEZ 主窗口"));
    EXPECT_EQ(window.Handle()->findChild<QMenuBar*>()->actions()[0]->text(), QString::fromUtf8("文件(&F)"));
    command(MenuCommand::English);
    EXPECT_NE(folder.read("config.xml").find("<Language value='0' />"), std::string::npos);
    EXPECT_EQ(window.Handle()->windowTitle(), "VEZ Main Window");
}

TEST_F(MainWindowTest, AnsweringTogglesKeepButtonSettingAndFileInStep)
{
    struct Case {
        const char* name;
        int command;
        int button;
        bool viaButton;
        std::int32_t Settings::*field;
        const char* savedOn;
    };
    const Case cases[] = {
        {"voice button", 2007, 2007, true, &Settings::voiceAnswering, "<Voice value='1'>"},
        {"text button", 2008, 2008, true, &Settings::textAnswering, "<Text value='1'>"},
        {"voice command", 32786, 2007, false, &Settings::voiceAnswering, "<Voice value='1'>"},
        {"text command", 32787, 2008, false, &Settings::textAnswering, "<Text value='1'>"},
    };
    ASSERT_TRUE(window.CreateMainWindow());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QAction& button = *window.toolbar()->action(c.button);
        const bool before = settings.*c.field != 0;
        for (int round = 1; round <= 2; ++round) {
            if (c.viaButton) {
                button.trigger();
            } else {
                command(c.command);
            }
            const bool now = settings.*c.field != 0;
            EXPECT_EQ(now, round == 1 ? !before : before);
            EXPECT_EQ(button.isChecked(), now);
            EXPECT_EQ(folder.read("config.xml").find(c.savedOn) != std::string::npos, now);
        }
    }
}

TEST_F(MainWindowTest, OtherProgramsMayOnlySendTheFourWindowCommands)
{
    ASSERT_TRUE(window.CreateMainWindow());
    for (int id : {1, 104, 105, 32773, 32793}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(window.acceptCommand(id));
    }
    EXPECT_EQ(loop.runPending(), 0);
    EXPECT_TRUE(window.acceptCommand(MenuCommand::ShowMainWindow));
    EXPECT_FALSE(window.Handle()->isVisible());
    loop.runPending();
    EXPECT_TRUE(window.Handle()->isVisible());
    const bool voice = settings.voiceAnsweringOn();
    EXPECT_TRUE(window.acceptCommand(MenuCommand::ToggleVoiceAnswering));
    loop.runPending();
    EXPECT_NE(settings.voiceAnsweringOn(), voice);
}

TEST_F(MainWindowTest, AboutOpensOnceAndExitEndsItBeforeTheWindowGoes)
{
    ASSERT_TRUE(window.CreateMainWindow());
    locale.setLanguage(0);
    int aboutBoxes = -1;
    QString aboutTitle;
    const int code = runLoop([&] {
        // Inside the About box's own loop: a second About, then Exit from the tray.
        QTimer::singleShot(50, [&] {
            command(MenuCommand::About);
            aboutBoxes = 0;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top->windowTitle() == "About") {
                    ++aboutBoxes;
                    aboutTitle = top->windowTitle();
                }
            }
            answerNextMessageBox(QMessageBox::Yes);
            tray().menu().actions().back()->trigger();
        });
        command(MenuCommand::About);
        // Nothing may touch the window once About's loop returns.
        EXPECT_EQ(window.Handle(), nullptr);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(aboutBoxes, 1);
    EXPECT_EQ(aboutTitle, "About");
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(folder.exists("config.xml"));
}

using ErrorReporterTest = UiTest;

TEST_F(ErrorReporterTest, WithoutAScreenAFailureIsLoggedAndWaitsForNoOne)
{
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { logged << message; });
    MessageBoxErrorReporter errors;
    // A modal box here would wait for a click that never comes.
    errors.showError("Error", "Could not find the system name for this HID device");
    qInstallMessageHandler(previous);

    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged.front().contains("Error"));
    EXPECT_TRUE(logged.front().contains("Could not find the system name for this HID device"));
}

}  // namespace
}  // namespace tarnix::test
