#include "program/sound_player_message_playback.h"

#include "audio/sound_players.h"

namespace tarnix {

bool SoundPlayerMessagePlayback::startMessage(const std::string& path)
{
    return playMessage(path) != 0 && isPlaying();
}

bool SoundPlayerMessagePlayback::isPlaying() const
{
    return players_.messagePlayer().isRunning();
}

void SoundPlayerMessagePlayback::stopMessage()
{
    players_.messagePlayer().stopPlayback();
}

}  // namespace tarnix
