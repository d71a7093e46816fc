#pragma once

#include "audio/sound_out_channel.h"
#include "audio/sound_source.h"
#include "audio/worker_thread.h"

#include <future>
#include <memory>
#include <mutex>

namespace tarnix {

class PlaybackListener;
class SoundPlayer;

// One play of a sound on one output device, from a thread of its own: it feeds the source's PCM
// to the device, lets the queued slots play, closes the device and tells the listener. It can be
// ended without waiting for its thread, which then closes its device on its own.
class SoundPlayback final : public WorkerThread {
public:
    struct Request {
        WaveDevices& devices;
        int deviceId = -1;
        // Shared with the player, which may play it again once this playback is over.
        std::shared_ptr<SoundSource> source;
        bool loop = false;
        PlaybackListener* listener = nullptr;
        SoundPlayer& player;
        // The previous playback's device closed: ours opens only then, as a device may take one
        // user at a time.
        std::shared_future<void> previousClosed;
    };

    explicit SoundPlayback(Request request);
    ~SoundPlayback() override;
    SoundPlayback(const SoundPlayback&) = delete;
    SoundPlayback& operator=(const SoundPlayback&) = delete;

    // Asks the thread to end and returns at once. The listener, unless already told, is told
    // here, on the caller's thread; one being told on the playback's thread is waited for.
    void end();
    // Ready once the thread is done with the device and the source.
    std::shared_future<void> closed() const { return closed_; }

protected:
    void run() override;
    const char* threadName() const override { return "SoundPlayer"; }

private:
    // Bytes per slot: 100 ms of the source's rate, at least 100 ms of the sound it delivers, at
    // most the PCM buffer.
    static int slotSize(const SoundFormat& format, int frameBytes);
    void play();
    // Feeds the sound until it ends or a stop is asked (true), or the device stops taking it.
    bool feed(int slot);
    // Waits for the queued slots (at most 100 ms of sound each) to play, at most their length
    // and the grace.
    void drain();
    // False when every try was refused.
    bool writeWithRetries(int length);
    // Tells the listener once, whichever thread gets here first.
    void tellListener();

    Request request_;
    SoundOutChannel output_;
    std::unique_ptr<unsigned char[]> pcm_;
    std::mutex listenerMutex_;
    std::promise<void> closing_;
    std::shared_future<void> closed_;
};

}  // namespace tarnix
