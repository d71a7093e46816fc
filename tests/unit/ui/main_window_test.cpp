#include "ui/main_window.h"

#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/settings.h"
#include "fake_messenger_link.h"
#include "folder_environment.h"
#include "handset_test_rig.h"
#include "temp_folder.h"
#include "ui/message_box_error_reporter.h"
#include "ui/tray_icon.h"
#include "ui_test_support.h"
#include "virtual_handsets.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

// Read by the leak checker of sanitizer builds: fontconfig keeps the font caches the message
// boxes load until the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace tarnix::test {
namespace {

constexpr const char* kLocale = R"xml(<?xml version="1.0" encoding="utf-8"?>
<Locale>
	<Item ID="105" Name="MenuExit" Enable="1"><English value="E&amp;xit"/><SimpleChinese value="退出(&amp;X)"/></Item>
	<Item ID="150" Name="MainWindowTitle" Enable="1"><English value="VEZ Main Window"/><SimpleChinese value="VEZ 主窗口"/></Item>
	<Item ID="65542" Name="ExitQuestion" Enable="1"><English value="Do you really want to exit?"/><SimpleChinese value="确定要退出吗？"/></Item>
	<Item ID="65543" Name="MessageCaption" Enable="1"><English value="USB Phone"/><SimpleChinese value="USB 电话"/></Item>
</Locale>
)xml";

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

// What a message box showed before the test answered it.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

class MainWindowTest : public UiTest {
protected:
    MainWindowTest() { folder.write("locale.xml", kLocale); }

    // Runs the action once the next modal message box shows, remembering what it showed.
    void whenMessageBoxShows(const std::function<void(QMessageBox&)>& action)
    {
        boxWatch.setInterval(5);
        QObject::connect(&boxWatch, &QTimer::timeout, &boxWatch, [this, action] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            boxWatch.stop();
            seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            action(*box);
        });
        boxWatch.start();
    }
    void answerNextMessageBox(QMessageBox::StandardButton answer)
    {
        whenMessageBoxShows([answer](QMessageBox& box) { box.button(answer)->click(); });
    }

    // Runs the main loop with the step; the exit code, or -1 when nothing ends the loop.
    static int runLoop(const std::function<void()>& step)
    {
        QTimer::singleShot(0, step);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(-1); });
        return QApplication::exec();
    }

    const TrayIcon& tray() const { return *window.trayIcon(); }

    TempFolder folder;
    FolderEnvironment environment{folder.path()};
    Settings settings;
    LocaleTable locale;
    ConfigFile config{settings, locale, environment};
    HandsetTestRig rig;
    TranscriptLog clientLog;
    FakeMessengerLink qq{"qq", clientLog};
    // Work left at the end, as the answering machine's message being recorded: a record.
    MainWindow window{loop, {config, locale, environment, rig.service, qq, [this] {
                                 MessageRecord record;
                                 record.userName = Utf8String("alice");
                                 settings.records.push_back(record);
                             }}};
    QTimer boxWatch;
    SeenBox seen;
};

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

    QMenu& menu = const_cast<TrayIcon&>(tray()).menu();
    emit menu.aboutToShow();
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions().front()->text(), QString::fromUtf8("退出(&X)"));
}

TEST_F(MainWindowTest, ConfirmedExitSavesConfigAndEndsTheLoopWithZero)
{
    folder.write("config.xml", kConfig);
    ASSERT_TRUE(window.CreateMainWindow());
    locale.setLanguage(0);
    answerNextMessageBox(QMessageBox::Yes);

    QMenu& menu = const_cast<TrayIcon&>(tray()).menu();
    EXPECT_EQ(runLoop([&] { menu.actions().front()->trigger(); }), 0);

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
