#pragma once

#include "app/dialled_number.h"
#include "app/keyboard_emulator.h"
#include "device/handset_event_sink.h"

#include <cstdint>
#include <string_view>

namespace tarnix {

class DefaultDeviceMover;
class HandsetService;
class KeyInjector;
class MessengerLink;
class TrayStatus;
class WaveDevices;

// The handset's event sink: routes every key to the test dialog, a messenger's key mapping or
// the keyboard emulation, and shows the state of handset and messengers on the tray and the
// handset's display. Main thread only.
class PhoneController final : public HandsetEventSink {
public:
    struct Ports {
        HandsetService& handsets;
        TrayStatus& tray;
        MessengerLink& skype;
        MessengerLink& qq;
        KeyInjector& keys;
        WaveDevices& waveDevices;
        DefaultDeviceMover& defaultDevices;
    };

    explicit PhoneController(const Ports& ports);

    void StartController();
    void UpdateStatus();
    void OnHandsetKey(int code) override;
    int OnHandsetPresence(int present, int status) override;
    void SetSubHandler(HandsetEventSink* sink) { subHandler_ = sink; }

    void ShowCallActive(int active);
    void ShowLink(int on);
    void ShowNumber(const char* text, std::int32_t length);
    // Shows the dialled-number buffer: the number, or the clock when it is empty.
    void ShowDialledNumber() { ShowNumber(dialled_.c_str(), dialled_.length()); }
    void SetupUsbAudio();
    // The sound device lists changed: a handset's sound device (which a sound server may offer
    // some time after the handset itself appears) is set up as an attach would.
    void OnSoundDevicesChanged();
    // Puts the handset back as the messengers' state says, after something else drove it: the
    // ringer off unless a call rings, the link bars, the dialled number or the clock, the call
    // icon and light.
    void ShowHandsetState();

    // The dialled number, changed only through these so the LCD always shows what it holds.
    const DialledNumber& dialledNumber() const { return dialled_; }
    void appendDialled(char c);
    void removeLastDialled();
    void clearDialled();
    // A number the messenger reports for the call: it replaces the dialled number.
    void showPstnNumber(std::string_view number);

    // -1 not known yet (the first hook event only tells), 1 on the cradle, 0 lifted.
    std::int32_t hookState() const { return hookState_; }
    void setHookState(std::int32_t state) { hookState_ = state; }

    // 0: Skype's key mapping first; 1: the QQ client's first while it is attached.
    std::int32_t preferredClient() const { return preferredClient_; }
    void preferQq() { preferredClient_ = 1; }
    void preferSkype() { preferredClient_ = 0; }
    // 0 while a handset is present, -1 while none is.
    std::int32_t presence() const { return presence_; }

private:
    // Skype or QQ is attached.
    bool messengerAttached() const;

    Ports ports_;
    std::int32_t presence_ = 0;
    HandsetEventSink* subHandler_ = nullptr;
    std::int32_t hookState_ = -1;
    std::int32_t preferredClient_ = 0;
    DialledNumber dialled_;
    KeyboardEmulator emulator_;
};

}  // namespace tarnix
