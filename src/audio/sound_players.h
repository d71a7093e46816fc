#pragma once

#include "audio/sound_player.h"

#include <string>

namespace tarnix {

// The process-wide players. The program creates one set, with its wave devices, at start-up and
// keeps it for its lifetime; playTone and the other users reach it through `current`.
class SoundPlayers {
public:
    explicit SoundPlayers(WaveDevices& devices);
    ~SoundPlayers();
    SoundPlayers(const SoundPlayers&) = delete;
    SoundPlayers& operator=(const SoundPlayers&) = delete;

    // The set the program created, or null outside its lifetime.
    static SoundPlayers* current();

    WaveDevices& devices() { return devices_; }
    // Key tones on the handset's earpiece.
    SoundPlayer& tonePlayer() { return tone_; }
    // Recorded messages on the computer's speakers.
    SoundPlayer& messagePlayer() { return message_; }
    // The greeting into the virtual cable of an answered call; the answering machine gives it its
    // device each time it answers.
    SoundPlayer& greetingPlayer() { return greeting_; }

private:
    WaveDevices& devices_;
    SoundPlayer tone_;
    SoundPlayer message_;
    SoundPlayer greeting_;
};

// Plays a built-in WAVE resource on the handset (looked up on first use), without a listener.
void playTone(int id);
// The key tone of 0..9, star (10) or hash (11); other indexes play nothing.
void playKeyTone(int index);
// Plays a recorded message on the computer's own device (looked up on first use), without a
// listener: the caller watches `messagePlayer().isRunning()`. 0 when the file cannot be opened.
int playMessage(const std::string& path);

}  // namespace tarnix
