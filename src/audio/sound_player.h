#pragma once

#include "audio/sound_source.h"
#include "audio/wave_device.h"

#include <memory>
#include <string>
#include <vector>

namespace tarnix {

class SoundPlayback;
class SoundPlayer;

// Told once per playback: on the player's thread when the playback ends by itself, or by
// stopPlayback (or the next play) on the caller's thread. It must not stop its own player.
class PlaybackListener {
public:
    virtual ~PlaybackListener() = default;
    virtual void onPlaybackFinished(SoundPlayer& player) = 0;
};

// Plays one loaded sound on one output device, each play from a thread of its own. Loading and
// play/stop run on the owner's thread and never wait for a playback's thread: a stopped playback
// closes its device by itself, and the next one opens its device only after that.
class SoundPlayer {
public:
    // The largest block the playback thread reads at once; faster sounds use slots of this size.
    static constexpr int PcmBufferSize = 204800;
    // A second of sound queued: a sound server counts a slot as played only once its sink has
    // played it, which at the start of a sound takes most of a second; with fewer slots the
    // blocks behind them waited too long and were dropped (a greeting lost its first 300 ms).
    static constexpr int SlotCount = 10;
    static constexpr int WriteTries = 10;
    static constexpr int WriteRetryMs = 50;
    static constexpr int FeedPauseMs = 60;
    // Blocks refused in a row (each after WriteTries) after which the device counts as gone: about
    // 5 s, well beyond a sound server's latency.
    static constexpr int DroppedBlocksToGiveUp = 10;
    // How long the queued slots may take to play beyond their own length before the device
    // counts as gone.
    static constexpr int DrainGraceMs = 5000;

    explicit SoundPlayer(WaveDevices& devices);
    // Waits for every playback's thread, stopped ones too.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // 0 when the file cannot be opened (the previous sound stays loaded).
    int loadWavFile(const std::string& path);
    int loadMp3File(const std::string& path);
    // 0 when the program has no such WAVE resource (the previous sound stays loaded).
    int loadWavResource(int id);
    // Stops playback and makes the stream the loaded sound; 0 for a null stream.
    int setWavSource(std::unique_ptr<ByteStream> stream);
    int setMp3Source(std::unique_ptr<ByteStream> stream);
    // Plays the loaded sound from where its last playback left it (a second play of a sound
    // played to its end plays nothing, and still tells its listener); a playing sound stops first.
    int play(PlaybackListener* listener, bool loop);
    void stopPlayback();
    // True while the current playback's thread runs; false as soon as it is stopped.
    bool isRunning() const;

    int deviceId() const { return deviceId_; }
    void setDeviceId(int id) { deviceId_ = id; }

private:
    int loadFile(std::unique_ptr<SoundSource> source, const std::string& path);
    // Stops playback and loads the decoder, whatever its openSource answered; 0 for a null stream.
    int setSource(std::unique_ptr<SoundSource> source, std::unique_ptr<ByteStream> stream);
    // Lets go of stopped playbacks whose threads have ended.
    void releaseEnded();

    WaveDevices& devices_;
    std::shared_ptr<SoundSource> source_;
    int deviceId_ = -1;
    std::unique_ptr<SoundPlayback> current_;
    // Stopped playbacks whose threads still run, oldest first.
    std::vector<std::unique_ptr<SoundPlayback>> stopped_;
};

}  // namespace tarnix
