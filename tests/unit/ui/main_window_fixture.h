#pragma once

#include "answering/command_sender.h"
#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/settings.h"
#include "fake_messenger_link.h"
#include "folder_environment.h"
#include "handset_test_rig.h"
#include "temp_folder.h"
#include "ui/dialog_launcher.h"
#include "ui/main_window.h"
#include "ui/message_playback.h"
#include "ui/tray_icon.h"
#include "ui_test_support.h"

#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace tarnix::test {

inline constexpr const char* kLocale = R"xml(<?xml version="1.0" encoding="utf-8"?>
<Locale>
	<Item ID="105" Name="MenuExit" Enable="1"><English value="E&amp;xit"/><SimpleChinese value="退出(&amp;X)"/></Item>
	<Item ID="103" Name="AboutTitle" Enable="1"><English value="About"/><SimpleChinese value="关于"/></Item>
	<Item ID="150" Name="MainWindowTitle" Enable="1"><English value="VEZ Main Window"/><SimpleChinese value="VEZ 主窗口"/></Item>
	<Item ID="32788" Name="MenuMainWindow" Enable="1"><English value="&amp;Main window"/><SimpleChinese value="主窗口(&amp;M)"/></Item>
	<Item ID="65539" Name="MenuFile" Enable="1"><English value="&amp;File"/><SimpleChinese value="文件(&amp;F)"/></Item>
	<Item ID="65542" Name="ExitQuestion" Enable="1"><English value="Do you really want to exit?"/><SimpleChinese value="确定要退出吗？"/></Item>
	<Item ID="65543" Name="MessageCaption" Enable="1"><English value="USB Phone"/><SimpleChinese value="USB 电话"/></Item>
	<Item ID="65544" Name="NoSelection" Enable="1"><English value="Please select a message first."/></Item>
	<Item ID="65548" Name="LanguageMenu" Enable="1"><English value="&amp;Language"/><SimpleChinese value="语言(&amp;L)"/></Item>
</Locale>
)xml";

// The main window's own doubles: no other tests send commands or play messages through these ports.
class RecordingSender final : public CommandSender {
public:
    int sendCommand(const char* text) override
    {
        sent.emplace_back(text);
        return 1;
    }
    std::vector<std::string> sent;
};

// Plays what exists on disk until the test ends it.
class FakePlayback final : public MessagePlayback {
public:
    bool startMessage(const std::string& path) override
    {
        started.push_back(path);
        playing = playable;
        return playable;
    }
    bool isPlaying() const override { return playing; }
    void stopMessage() override
    {
        ++stops;
        playing = false;
    }

    bool playable = true;
    bool playing = false;
    int stops = 0;
    std::vector<std::string> started;
};

// The options dialog as the test scripts it: what the user does in it and how it ends.
class ScriptedDialogs final : public DialogLauncher {
public:
    bool runOptions(QWidget* owner, const std::function<void()>& refresh) override
    {
        ++optionsRuns;
        return options ? options(owner, refresh) : false;
    }
    void runHandsetTest(QWidget*) override { ++testRuns; }

    std::function<bool(QWidget*, const std::function<void()>&)> options;
    int optionsRuns = 0;
    int testRuns = 0;
};

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
    void whenMessageBoxShows(const std::function<void(QMessageBox&)>& action);
    void answerNextMessageBox(QMessageBox::StandardButton answer);
    // Runs the main loop with the step; the exit code, or -1 when nothing ends the loop.
    static int runLoop(const std::function<void()>& step);

    void command(int id) { window.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), 0), 0); }
    TrayIcon& tray() { return *window.trayIcon(); }
    // A record whose file lies in the program's messages folder.
    MessageRecord record(const std::string& user, const std::string& file, bool fresh = true) const;

    TempFolder folder;
    FolderEnvironment environment{folder.path()};
    Settings settings;
    LocaleTable locale;
    ConfigFile config{settings, locale, environment};
    HandsetTestRig rig;
    TranscriptLog clientLog;
    FakeMessengerLink qq{"qq", clientLog};
    RecordingSender skype;
    FakePlayback playback;
    ScriptedDialogs dialogs;
    // Work left at the end, as the answering machine's message being recorded: a record.
    MainWindow window{
        loop, {config, settings, locale, environment, rig.service, qq, skype, playback, &dialogs, [this] {
                   MessageRecord record;
                   record.userName = Utf8String("alice");
                   settings.records.push_back(record);
               }}};
    QTimer boxWatch;
    SeenBox seen;
};

}  // namespace tarnix::test
