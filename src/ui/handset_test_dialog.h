#pragma once

#include "audio/sound_loopback.h"
#include "audio/sound_player.h"
#include "device/handset_event_sink.h"
#include "ui/framework/dialog.h"

#include <QPointer>

#include <cstddef>
#include <memory>
#include <string>

class QProgressBar;

namespace tarnix {

class ErrorReporter;
class HandsetChannel;
class PhoneController;
class ProgramEnvironment;
class WaveDevices;

// What the test dialog keeps from one opening to the next, for the program's lifetime.
struct HandsetTestMemory {
    // The longest echo kept for the handset's display.
    static constexpr std::size_t kEchoLimit = 999;

    int previousEvent = 0;
    // The digits, stars and hashes typed since the display was last cleared.
    std::string echo;
    // The call icon is lit for the echoed number.
    bool numberShown = false;
};

// Lets the user try every function of the current handset: each key and hook event shows as
// text, digits echo on the handset's display, buttons (and star combinations on the keypad)
// switch the ringer, light and display, a test sound plays and a five-second loop sends the
// handset's microphone to its earpiece with a level meter. While it is open the handset's events
// come here and reach no messenger. UI thread only.
class HandsetTestDialog final : public Dialog, private HandsetEventSink, private PlaybackListener {
public:
    static constexpr int kTemplateId = 148;
    static constexpr int kMelodyList = 1000;
    static constexpr int kDisplay = 1001;
    static constexpr int kRingOn = 1006;
    static constexpr int kRingOff = 1007;
    static constexpr int kPlay = 1008;
    static constexpr int kRecord = 1009;
    static constexpr int kLightOn = 1011;
    static constexpr int kSelectSong = 1012;
    static constexpr int kPstn = 1013;
    static constexpr int kTestLcd = 1016;
    static constexpr int kIp = 1017;
    static constexpr int kLightOff = 12010;
    static constexpr int kExit = 3;
    static constexpr int kLevelMeter = 100;
    static constexpr int kLoopTimer = 1001;
    static constexpr int kLoopMs = 5000;
    static constexpr const char* kKeySound = "1.wav";
    static constexpr const char* kTestSound = "TestSnd.wav";

    struct Parts {
        PhoneController& controller;
        HandsetChannel& channel;
        WaveDevices& waveDevices;
        const ProgramEnvironment& environment;
        ErrorReporter& errors;
        HandsetTestMemory& memory;
    };

    HandsetTestDialog(EventLoop& loop, const Parts& parts);
    ~HandsetTestDialog() override;

    // Runs the dialog modally over the owner; when it is open already, brings it to the front and
    // returns at once.
    void Open(QWidget* owner);

    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;
    void OnTimer(int id) override;
    void OnDestroy() override;

    // The level meter's position; -1 before the dialog is made.
    int level() const;
    bool looping() const { return loopback_.running(); }

private:
    // HandsetEventSink, while the dialog is the controller's sub-handler.
    void OnHandsetKey(int code) override;
    int OnHandsetPresence(int present, int status) override;
    // PlaybackListener: the test sound ended, on the player's thread.
    void onPlaybackFinished(SoundPlayer& player) override;

    void SetDisplayText(const QString& text);
    void AppendDisplayText(const QString& text);
    void RingOn();
    void SelectSong();
    void TestLcd();
    void PlayTestSound();
    void PlayKeySound();
    void ToggleLoop();
    void StartLoop();
    void StopLoop();
    void EchoOnLcd(int code);
    void ShowHandsetError();
    // The file in the working folder, else beside the executable; empty when neither has it.
    std::string FindSoundFile(const char* name) const;
    // Runs the task on the UI thread later, unless this object is gone by then.
    void PostToDialog(std::function<void()> task);

    Parts parts_;
    QWidget* owner_ = nullptr;
    QPointer<QProgressBar> levelMeter_;
    // Lets tasks posted from sound threads find out whether this object still exists.
    std::shared_ptr<HandsetTestDialog*> self_ = std::make_shared<HandsetTestDialog*>(this);
    SoundPlayer keySound_;
    SoundPlayer testSound_;
    SoundLoopback loopback_;
};

}  // namespace tarnix
