#pragma once

#include "audio/sound_out_channel.h"
#include "audio/sound_source.h"
#include "audio/worker_thread.h"

#include <memory>
#include <string>

namespace tarnix {

class SoundPlayer;

// Told on the player's thread when a playback ends (also one ended by stopPlayback). It must
// not stop its own player.
class PlaybackListener {
public:
    virtual ~PlaybackListener() = default;
    virtual void onPlaybackFinished(SoundPlayer& player) = 0;
};

// Plays one loaded sound on one output device from a thread of its own. Loading and play/stop
// run on the owner's thread; the source is touched by the player's thread only while it plays.
class SoundPlayer : public WorkerThread {
public:
    // The largest block the playback thread reads at once; faster sounds use slots of this size.
    static constexpr int PcmBufferSize = 204800;
    static constexpr int SlotCount = 2;
    static constexpr int WriteTries = 10;
    static constexpr int WriteRetryMs = 50;
    static constexpr int FeedPauseMs = 60;
    // Blocks refused in a row (each after WriteTries) after which the device counts as gone: about
    // 5 s, well beyond a sound server's latency, which can cost a block or two at the start.
    static constexpr int DroppedBlocksToGiveUp = 10;
    // How long the queued slots may take to play beyond their own length before the device
    // counts as gone.
    static constexpr int DrainGraceMs = 5000;

    explicit SoundPlayer(WaveDevices& devices);
    ~SoundPlayer() override;

    // 0 when the file cannot be opened (the previous sound stays loaded).
    int loadWavFile(const std::string& path);
    int loadMp3File(const std::string& path);
    // 0 when the program has no such WAVE resource (the previous sound stays loaded).
    int loadWavResource(int id);
    // Stops playback and makes the stream the loaded sound; 0 for a null stream.
    int setWavSource(std::unique_ptr<ByteStream> stream);
    int setMp3Source(std::unique_ptr<ByteStream> stream);
    int play(PlaybackListener* listener, bool loop);
    void stopPlayback();

    int deviceId() const { return deviceId_; }
    void setDeviceId(int id) { deviceId_ = id; }

protected:
    void run() override;
    const char* threadName() const override { return "SoundPlayer"; }

private:
    int loadFile(std::unique_ptr<SoundSource> source, const std::string& path);
    // Stops playback and loads the decoder, whatever its openSource answered; 0 for a null stream.
    int setSource(std::unique_ptr<SoundSource> source, std::unique_ptr<ByteStream> stream);
    // Bytes per slot: 100 ms of the source's rate, at least 100 ms of the sound it delivers, at
    // most the PCM buffer.
    static int slotSize(const SoundFormat& format, int frameBytes);
    // Feeds the sound until it ends or a stop is asked (true), or the device stops taking it.
    bool feed(int slot);
    // Waits for the queued slots (at most 100 ms of sound each) to play, at most their length
    // and the grace.
    void drain();
    // False when every try was refused.
    bool writeWithRetries(int length);

    std::unique_ptr<SoundSource> source_;
    bool loop_ = false;
    int deviceId_ = -1;
    SoundOutChannel output_;
    PlaybackListener* listener_ = nullptr;
    std::unique_ptr<unsigned char[]> pcm_;
};

}  // namespace tarnix
