#pragma once

#include "app/command_target.h"
#include "app/tray_status.h"
#include "messenger/main_window_port.h"
#include "ui/about_dialog.h"
#include "ui/framework/dialog.h"
#include "ui/locale_texts.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QMenu;

namespace tarnix {

class CommandSender;
class ConfigFile;
class DialogLauncher;
class HandsetLightBlinker;
class HandsetService;
class LocaleTable;
class MainToolbar;
class MessageList;
class MessagePlayback;
class MessengerLink;
class ProgramEnvironment;
class TrayIcon;
struct Settings;

// The program's one top-level window, hidden from the start: the recorded messages with their
// toolbar, the connection state in the status bar, the menu bar, and the tray icon with its
// popup. Its initialisation loads the language file and config.xml; its destruction (Exit, or
// the session ending the program) saves config.xml and ends the main loop with exit code 0.
class MainWindow final : public Dialog, public TrayStatus, public MainWindowPort, public CommandTarget {
public:
    static constexpr int kCommandAbout = 104;
    static constexpr int kCommandExit = 105;
    static constexpr int kStatusBarId = 1114;
    static constexpr int kStatusFirstPartWidth = 280;
    static constexpr int kTimerPlaybackWatch = 1001;
    static constexpr int kPlaybackWatchMs = 500;
    static constexpr int kTextTitle = 150;
    static constexpr int kTextFileMenu = 65539;
    static constexpr int kTextHelpMenu = 65540;
    static constexpr int kTextExitQuestion = 65542;
    static constexpr int kTextMessageCaption = 65543;
    static constexpr int kTextNoSelection = 65544;
    static constexpr const char16_t* kDefaultTitle = u"VEZ Main Window";
    static constexpr const char* kTipReady = "Tarnix USB Device Driver (Skype Feature-Enabled)";
    static constexpr const char* kTipNoHandset = "Tarnix USB Device Driver (Please Connect USB Phone)";
    static constexpr const char* kTipNoMessenger = "Tarnix USB Device Driver (Please Launch Skype)";
    static constexpr int kMinimumWidth = 300;
    static constexpr int kMinimumHeight = 400;
    // The folder of the message files, inside the program's folder.
    static constexpr const char* kMessagesFolder = "messages/";

    struct Parts {
        ConfigFile& config;
        Settings& settings;
        LocaleTable& locale;
        const ProgramEnvironment& environment;
        // Only asked once the window is made: the handset layer may be made after this window.
        HandsetService& handsets;
        const MessengerLink& qq;
        // Make call and Send instant message go to the Skype client.
        CommandSender& skype;
        MessagePlayback& playback;
        // Null while the program has no options or test dialog: their commands are then logged.
        DialogLauncher* dialogs = nullptr;
        // Work to finish before config.xml is saved at the end (a message being recorded).
        std::function<void()> beforeSave = {};
    };

    MainWindow(EventLoop& loop, const Parts& parts);
    ~MainWindow() override;

    // Makes the window, hidden, without owner. False when it could not be made.
    bool CreateMainWindow();
    // Ends the program the orderly way, as a confirmed Exit does: open dialogs end, the window
    // goes, config.xml is saved and the loop quits with 0.
    void EndSession();

    void TrayShowReady() override;
    void TrayShowNoHandset() override;
    void TrayShowNoMessenger() override;

    void ShowConnectionStatus(int connected, int online) override;
    // -1 steady, 0 off, 1 ringing blink, 2 muted blink; ignored before the window is made.
    void SetHandsetLightMode(int mode) override;
    void BringToFront() override;
    void AddRecordItem(int index, const MessageRecord& record) override;

    // Other programs may send 32772, 32786, 32787 and 32788.
    bool acceptCommand(int id) override;

    void ApplyLanguage() override;
    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;
    void OnTimer(int id) override;
    void OnDestroy() override;

    // Null until the window is initialised.
    const TrayIcon* trayIcon() const { return tray_.get(); }
    TrayIcon* trayIcon() { return tray_.get(); }
    const MessageList* messageList() const { return list_.get(); }
    const MainToolbar* toolbar() const { return toolbar_.get(); }
    // The status bar's two parts; empty before the window is made.
    QString statusText(int part) const;

private:
    bool AskExit();
    void CloseAndQuit();
    void SaveAndQuit();
    void Save();
    void CreateTrayIcon();
    void WatchPopups(QMenu& menu);
    void Refresh();
    void SetVoiceAnswering(bool on);
    void SetTextAnswering(bool on);
    int SelectedRowOrAsk();
    void Play();
    void StopPlayback();
    void Delete();
    void SendToUser(const char* command);
    void SetLanguage(int language);
    void OpenOptions();
    void CheckUpdate();
    QString Text(int id, std::u16string_view defaultText) const;

    Parts parts_;
    LocaleTexts texts_;
    AboutDialog about_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<MessageList> list_;
    std::unique_ptr<MainToolbar> toolbar_;
    QLabel* statusParts_[2] = {nullptr, nullptr};
    // The file the message player plays, while it plays.
    std::string playingFile_;
    // Made with the window: the handset layer exists by then.
    std::unique_ptr<HandsetLightBlinker> lightBlinker_;
};

}  // namespace tarnix
