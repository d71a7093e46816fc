#pragma once

#include "answering/answer_route.h"
#include "answering/call_clock.h"
#include "answering/voice_answerer.h"
#include "app/default_device_mover.h"
#include "app/phone_controller.h"
#include "audio/sound_players.h"
#include "base/qt_event_loop.h"
#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/settings.h"
#include "device/handset_service.h"
#include "device/pstn_library.h"
#include "device/system_device_clock.h"
#include "messenger/qq_client.h"
#include "messenger/skype_client.h"
#include "messenger/skype_windows.h"
#include "messenger/volume_panel.h"
#include "platform/linux/dbus/bus_name_instance_marker.h"
#include "platform/linux/dbus/dbus_command_service.h"
#include "platform/linux/dbus/dbus_skype_transport.h"
#include "platform/linux/hid/udev_hid_bus.h"
#include "platform/linux/messages/posix_message_folder.h"
#include "platform/linux/pulse/pulse_default_sound_devices.h"
#include "platform/linux/session/lock_file_instance_marker.h"
#include "platform/linux/session/termination_signals.h"
#include "platform/linux/x11/x11_window_system.h"
#include "platform/linux/x11/xtest_key_injector.h"
#include "program/program_dialogs.h"
#include "program/sound_player_message_playback.h"
#include "ui/main_window.h"
#include "ui/message_box_error_reporter.h"
#include "ui/volume_popup.h"

#include <memory>

namespace tarnix {

class MixerPort;
class ProgramEnvironment;
class WaveDevices;

// The objects that live as long as the program, and its start, loop and end. Members come up in
// the order they are declared and go in reverse: the ports and settings first, then the main
// window, the instance mark, the phone controller, the handset layer and last the messenger
// clients, which hold the handset's channel and so go before it. Constructing it makes no window
// and touches no file. Make it while the Qt application object exists, on the main thread.
class Application {
public:
    explicit Application(ProgramEnvironment& environment);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // 1 when the program runs; 0 when it must end at once because another instance runs.
    // `showWindow` shows the main window once it is made.
    int Initialise(bool showWindow = false);
    // The main loop, until the main window ends it; its exit code.
    int Run();

    MainWindow& mainWindow() { return mainWindow_; }
    PhoneController& phoneController() { return phone_; }
    HandsetService& handsetService() { return handsets_; }
    SkypeClient& skypeClient() { return skype_; }

private:
    // The speaker panel as the Skype client's key mapping drives it.
    class SpeakerPanel final : public VolumePanel {
    public:
        explicit SpeakerPanel(VolumePopup& popup) : popup_(popup) {}
        void ShowPopup() override { popup_.ShowPopup(); }
        void VolumeUp() override { popup_.VolumeUp(); }
        void VolumeDown() override { popup_.VolumeDown(); }

    private:
        VolumePopup& popup_;
    };

    QtEventLoop loop_;
    // Installed from the start, so a session ending us during start-up still ends us in order.
    TerminationSignals signals_;
    Settings settings_;
    LocaleTable locale_;
    ConfigFile config_;
    std::unique_ptr<WaveDevices> waveDevices_;
    std::unique_ptr<MixerPort> mixers_;
    SoundPlayers players_;
    PosixMessageFolder messageFolder_;
    AnswerRoute answerRoute_;
    SoundPlayerMessagePlayback messagePlayback_{players_};
    MessageBoxErrorReporter errors_;
    XTestKeyInjector keys_;
    PulseDefaultSoundDevices defaultDevices_;
    DefaultDeviceMover defaultDeviceMover_{defaultDevices_};
    UdevHidBus hidBus_;
    PstnLibrary pstn_;
    SystemDeviceClock clock_;
    SystemCallClock callClock_;
    LockFileInstanceMarker lockFile_;
    X11WindowSystem windowSystem_;
    // Before the window: an options dialog still open goes with the window's widgets.
    ProgramDialogs dialogs_;

    MainWindow mainWindow_;
    BusNameInstanceMarker instance_;
    // Other programs' window commands, under the instance's bus name.
    DbusCommandService commands_{mainWindow_};
    PhoneController phone_;
    HandsetService handsets_;
    DbusSkypeTransport transport_;
    SkypeWindows skypeWindows_;
    VolumePopup volumePopup_;
    SpeakerPanel speaker_;
    // Before the client that calls it; it reaches the client only once both are made.
    VoiceAnswerer answerer_;
    SkypeClient skype_;
    QqClient qq_;
};

}  // namespace tarnix
