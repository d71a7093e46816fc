#include "audio/sound_players.h"

#include "audio/device_lookup.h"
#include "audio/wave_resources.h"

#include <iterator>

namespace tarnix {

namespace {

SoundPlayers* currentPlayers = nullptr;

// One of the current set's players, given its device on first use; null outside the set's lifetime.
SoundPlayer* playerOnDevice(SoundPlayer& (SoundPlayers::*which)(), int (*findDevice)(const WaveDevices&))
{
    if (currentPlayers == nullptr) {
        return nullptr;
    }
    SoundPlayer& player = (currentPlayers->*which)();
    if (player.deviceId() < 0) {
        player.setDeviceId(findDevice(currentPlayers->devices()));
    }
    return &player;
}

}  // namespace

SoundPlayers::SoundPlayers(WaveDevices& devices)
    : devices_(devices), tone_(devices), message_(devices), greeting_(devices)
{
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
    SoundPlayer* player = playerOnDevice(&SoundPlayers::tonePlayer, findHandsetOutput);
    if (player != nullptr && player->loadWavResource(id) != 0) {
        player->play(nullptr, false);
    }
}

void playKeyTone(int index)
{
    if (index >= 0 && index < static_cast<int>(std::size(KeyToneResources))) {
        playTone(KeyToneResources[index]);
    }
}

int playMessage(const std::string& path)
{
    SoundPlayer* player = playerOnDevice(&SoundPlayers::messagePlayer, findComputerOutput);
    if (player == nullptr || player->loadMp3File(path) == 0) {
        return 0;
    }
    player->play(nullptr, false);
    return 1;
}

}  // namespace tarnix
