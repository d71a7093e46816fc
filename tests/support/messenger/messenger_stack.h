#pragma once

#include "answering/answer_route.h"
#include "answering/call_clock.h"
#include "answering/voice_answerer.h"
#include "app/default_device_mover.h"
#include "app/phone_controller.h"
#include "config/config_file.h"
#include "config/locale_table.h"
#include "config/message_record.h"
#include "config/settings.h"
#include "fake_default_sound_devices.h"
#include "fake_wave_devices.h"
#include "fake_window_system.h"
#include "folder_environment.h"
#include "handset_test_rig.h"
#include "messenger/main_window_port.h"
#include "messenger/qq_client.h"
#include "messenger/skype_client.h"
#include "messenger/skype_transport.h"
#include "messenger/skype_windows.h"
#include "messenger/volume_panel.h"
#include "platform/linux/messages/posix_message_folder.h"
#include "recording_keys.h"
#include "recording_tray.h"
#include "temp_folder.h"
#include "transcript.h"
#include "ui/handset_light_blinker.h"

#include <set>
#include <string>
#include <vector>

namespace tarnix::test {

// The main window and the volume panel as the Skype client uses them, and the handset's tones,
// written to the stack's transcript. Light modes reach the handset through a real blinker, as in
// the program.
class PhoneSurroundings final : public MainWindowPort, public VolumePanel {
public:
    PhoneSurroundings(TranscriptLog& log, HandsetLightBlinker& blinker) : log_(log), blinker_(blinker) {}

    void ShowConnectionStatus(int connected, int online) override;
    void SetHandsetLightMode(int mode) override;
    void BringToFront() override { log_.note("front"); }
    void AddRecordItem(int index, const MessageRecord& record) override
    {
        log_.note("record " + std::to_string(index) + " " + record.userName.c_str());
    }
    void ShowPopup() override { log_.note("volume shown"); }
    void VolumeUp() override { log_.note("volume up"); }
    void VolumeDown() override { log_.note("volume down"); }
    // "tone 147", "key tone 5".
    HandsetTones tones();

private:
    TranscriptLog& log_;
    HandsetLightBlinker& blinker_;
};

// A clock that stands still until the test moves it.
class FixedCallClock final : public CallClock {
public:
    std::int64_t tickMs() const override { return tick; }
    std::tm localTime() const override { return local; }
    std::int64_t tick = 0;
    std::tm local{};
};

// The messenger's carrier in memory: the test plays the messenger's side.
class FakeSkypeTransport final : public SkypeTransport {
public:
    void setListener(SkypeTransportListener* listener) override { listener_ = listener; }
    void discover() override { ++discovers; }
    bool peerExists(const std::string& peer) const override { return alive.count(peer) != 0; }
    bool send(const std::string& peer, std::string_view text) override;

    void attach(const std::string& peer, int status = AttachSuccess);
    void deliver(const std::string& sender, std::string_view text) { listener_->onCopyData(sender, text); }
    void failSend(const std::string& peer) { listener_->onSendFailed(peer); }
    Transcript take() { return std::exchange(sent, {}); }

    int discovers = 0;
    std::set<std::string> alive;
    bool sendsGoOut = true;
    // "peer: text" for every command that went out.
    Transcript sent;

private:
    SkypeTransportListener* listener_ = nullptr;
};

// The phone as the program puts it together around the Skype client: the handset layer on a
// fake bus, the phone controller, both clients and the light blinker, on any event loop.
struct MessengerStack {
    MessengerStack(EventLoop& loop, SkypeTransport& transport);

    EventLoop& loop;
    FakeHidBus bus{loop};
    RecordingErrors errors;
    FakeDeviceClock deviceClock;
    PstnLibrary pstn{"/nonexistent/libF3Voip.so"};
    HandsetService service{loop, bus, errors, pstn, deviceClock};
    HandsetLightBlinker blinker{loop, service.channel()};
    // Tray, keyboard, main window, volume panel and tones, in the order they were told.
    TranscriptLog log;
    RecordingTray tray{log};
    RecordingKeys keys{log};
    PhoneSurroundings around{log, blinker};
    FakeDefaultSoundDevices defaults;
    FakeWaveDevices wave;
    FixedCallClock callClock;
    Settings settings;
    FakeWindowSystem windows;
    // The attached messenger's process.
    static constexpr std::int64_t kMessengerPid = 4242;
    SkypeWindows skypeWindows{windows, [this] { return skype.isAttached() ? kMessengerPid : 0; }};
    // The answering machine as the program wires it, in a folder of its own; with the default
    // settings it takes no call.
    TempFolder folder;
    FolderEnvironment environment{folder.path()};
    LocaleTable locale;
    ConfigFile config{settings, locale, environment};
    PosixMessageFolder messages{environment.messagesFolder()};
    SoundPlayer greeting{wave};
    AnswerRoute route{wave, greeting, messages};
    VoiceAnswerer answerer{{loop, callClock, settings, config, around, skype, route, messages}};
    SkypeClient skype;
    QqClient qq{callClock, settings, around};
    DefaultDeviceMover defaultDevices{defaults};
    PhoneController controller{{service, tray, skype, qq, keys, wave, defaultDevices}};
};

}  // namespace tarnix::test
