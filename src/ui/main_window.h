#pragma once

#include "app/tray_status.h"
#include "messenger/main_window_port.h"
#include "ui/framework/dialog.h"

#include <functional>
#include <memory>

class QMessageBox;

namespace tarnix {

class ConfigFile;
class HandsetLightBlinker;
class HandsetService;
class LocaleTable;
class MessengerLink;
class ProgramEnvironment;
class TrayIcon;

// The program's one top-level window, hidden from the start, and its tray icon. Its
// initialisation loads the language file and config.xml; its destruction (Exit, or the session
// ending the program) saves config.xml and ends the main loop with exit code 0.
class MainWindow final : public Dialog, public TrayStatus, public MainWindowPort {
public:
    static constexpr int kCommandAbout = 104;
    static constexpr int kCommandExit = 105;
    static constexpr int kTextTitle = 150;
    static constexpr int kTextExitQuestion = 65542;
    static constexpr int kTextMessageCaption = 65543;
    static constexpr const char16_t* kDefaultTitle = u"VEZ Main Window";
    static constexpr const char* kTipReady = "Tarnix USB Device Driver (Skype Feature-Enabled)";
    static constexpr const char* kTipNoHandset = "Tarnix USB Device Driver (Please Connect USB Phone)";
    static constexpr const char* kTipNoMessenger = "Tarnix USB Device Driver (Please Launch Skype)";
    static constexpr int kMinimumWidth = 300;
    static constexpr int kMinimumHeight = 400;

    struct Parts {
        ConfigFile& config;
        LocaleTable& locale;
        const ProgramEnvironment& environment;
        // Only asked once the window is made: the handset layer may be made after this window.
        HandsetService& handsets;
        const MessengerLink& qq;
        // Work to finish before config.xml is saved at the end (a message being recorded).
        std::function<void()> beforeSave = {};
    };

    MainWindow(EventLoop& loop, const Parts& parts);
    ~MainWindow() override;

    // Makes the window, hidden, without owner. False when it could not be made.
    bool CreateMainWindow();
    // Ends the program the orderly way, as a confirmed Exit does: save, then quit with 0.
    void EndSession();

    void TrayShowReady() override;
    void TrayShowNoHandset() override;
    void TrayShowNoMessenger() override;

    // Until the window has its status bar, the connection state is logged.
    void ShowConnectionStatus(int connected, int online) override;
    // -1 steady, 0 off, 1 ringing blink, 2 muted blink; ignored before the window is made.
    void SetHandsetLightMode(int mode) override;
    void BringToFront() override;
    // Until the window has its message list, a new record is logged.
    void AddRecordItem(int index, const MessageRecord& record) override;

    void ApplyLanguage() override;
    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;
    void OnDestroy() override;

    // Null until the window is initialised.
    const TrayIcon* trayIcon() const { return tray_.get(); }

private:
    bool AskExit();
    void SaveAndQuit();
    void CreateTrayIcon();
    QString Text(int id, std::u16string_view defaultText) const;

    Parts parts_;
    std::unique_ptr<TrayIcon> tray_;
    // Made with the window: the handset layer exists by then.
    std::unique_ptr<HandsetLightBlinker> lightBlinker_;
};

}  // namespace tarnix
