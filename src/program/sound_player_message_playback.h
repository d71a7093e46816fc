#pragma once

#include "ui/message_playback.h"

namespace tarnix {

class SoundPlayers;

// Recorded messages on the message player of the program's sound players.
class SoundPlayerMessagePlayback final : public MessagePlayback {
public:
    explicit SoundPlayerMessagePlayback(SoundPlayers& players) : players_(players) {}

    bool startMessage(const std::string& path) override;
    bool isPlaying() const override;
    void stopMessage() override;

private:
    SoundPlayers& players_;
};

}  // namespace tarnix
