#include "audio/sound_players.h"

#include "audio/device_lookup.h"
#include "audio/wave_resources.h"

#include <iterator>

namespace tarnix {

namespace {

SoundPlayers* currentPlayers = nullptr;

}  // namespace

SoundPlayers::SoundPlayers(WaveDevices& devices)
    : devices_(devices), tone_(devices), message_(devices), greeting_(devices)
{
    greeting_.setDeviceId(findOutputByName(devices, GreetingDeviceName));
    currentPlayers = this;
}

SoundPlayers::~SoundPlayers()
{
    if (currentPlayers == this) {
        currentPlayers = nullptr;
    }
}

SoundPlayers* SoundPlayers::current()
{
    return currentPlayers;
}

void playTone(int id)
{
    SoundPlayers* players = SoundPlayers::current();
    if (players == nullptr) {
        return;
    }
    SoundPlayer& player = players->tonePlayer();
    if (player.deviceId() < 0) {
        player.setDeviceId(findHandsetOutput(players->devices()));
    }
    if (player.loadWavResource(id) != 0) {
        player.play(nullptr, false);
    }
}

void playKeyTone(int index)
{
    if (index >= 0 && index < static_cast<int>(std::size(KeyToneResources))) {
        playTone(KeyToneResources[index]);
    }
}

}  // namespace tarnix
