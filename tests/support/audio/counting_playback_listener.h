#pragma once

#include "audio/sound_player.h"

#include <atomic>

namespace tarnix::test {

// Counts the ends of playback; called from the player's thread.
class CountingPlaybackListener final : public PlaybackListener {
public:
    void onPlaybackFinished(SoundPlayer&) override { ++calls; }
    std::atomic<int> calls{0};
};

}  // namespace tarnix::test
