#pragma once

#include "audio/sound_players.h"

#include <functional>
#include <string_view>

namespace tarnix {

class MainWindowPort;
class PhoneController;
class SkypeClient;
class SkypeWindows;
class VolumePanel;

// The tones the key mapping plays on the handset; the program plays its built-in ones.
struct HandsetTones {
    std::function<void(int id)> play = playTone;
    std::function<void(int index)> playKey = playKeyTone;
};

// What the handset's keys do while the Skype client has the handset: phone-button commands to
// the messenger, the dialled number on the handset's display and work on the messenger's
// windows. Main thread only.
class SkypeKeyHandler {
public:
    static constexpr int kClickTone = 147;
    // Between a button's press and its release.
    static constexpr int kButtonHoldMs = 10;

    struct Ports {
        SkypeClient& client;
        PhoneController& controller;
        SkypeWindows& windows;
        VolumePanel& volume;
        MainWindowPort& mainWindow;
        const HandsetTones& tones;
    };

    explicit SkypeKeyHandler(const Ports& ports) : ports_(ports) {}

    // One HandsetKey code; unknown codes do nothing.
    void onKey(int code);

    // Press, and 10 ms later release; a digit, star or hash then goes to the call in progress
    // as a tone, or, outside a call, sounds on the handset.
    void pressButton(std::string_view name);
    void pressKey(char key) { pressButton(std::string_view(&key, 1)); }
    // Adds to the dialled number (unless it is full) and shows it.
    void appendDial(char key);

private:
    void onStar();
    void onHash();
    void onNo();
    void onUpDown(bool up);
    void onYes();
    void onHookOn();
    void onHookOff();
    void onMute();
    void onDelete();
    void click();
    void focus();

    Ports ports_;
};

}  // namespace tarnix
