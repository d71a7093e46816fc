#include "audio/sound_playback.h"

#include "audio/audio_log.h"
#include "audio/sound_player.h"

#include <algorithm>
#include <cstdint>

namespace tarnix {

SoundPlayback::SoundPlayback(Request request)
    : request_(std::move(request)),
      output_(request_.devices),
      pcm_(std::make_unique_for_overwrite<unsigned char[]>(SoundPlayer::PcmBufferSize)),
      closed_(closing_.get_future().share())
{
    // With nothing to play there is nothing to tell.
    if (request_.source == nullptr) request_.listener = nullptr;
}

SoundPlayback::~SoundPlayback()
{
    stop();
}

void SoundPlayback::end()
{
    requestStop();
    tellListener();
}

void SoundPlayback::run()
{
    if (request_.previousClosed.valid()) request_.previousClosed.wait();
    if (request_.source != nullptr && !stopRequested()) play();
    output_.close();
    closing_.set_value();
    tellListener();
}

void SoundPlayback::tellListener()
{
    const std::lock_guard lock(listenerMutex_);
    if (request_.listener != nullptr) {
        request_.listener->onPlaybackFinished(request_.player);
        request_.listener = nullptr;
    }
}

void SoundPlayback::play()
{
    SoundSource& source = *request_.source;
    SoundFormat format;
    source.getFormat(format);
    const int channels = format.stereo != 0 ? 2 : 1;
    const int bits = format.sixteenBit != 0 ? 16 : 8;
    const int slot = slotSize(format, channels * bits / 8);
    output_.setBuffers(slot, SoundPlayer::SlotCount);
    output_.open(request_.deviceId, channels, format.sampleRate, bits);
    // Without a device the sound would "play" until someone stops it: it ends now instead.
    if (!output_.deviceOpen()) {
        qCInfo(lcAudio, "the output device %d did not open: the sound ends", request_.deviceId);
        return;
    }
    if (feed(slot)) drain();
}

bool SoundPlayback::feed(int slot)
{
    int droppedInARow = 0;
    while (!stopRequested()) {
        int length = slot;
        request_.source->readPcm(pcm_.get(), length);
        if (length > 0) {
            droppedInARow = writeWithRetries(length) ? 0 : droppedInARow + 1;
            if (droppedInARow == SoundPlayer::DroppedBlocksToGiveUp) {
                qCInfo(lcAudio, "the output device stopped taking sound: the sound ends");
                return false;
            }
        } else if (!request_.loop) {
            return true;
        } else {
            request_.source->seekFraction(0, 100);
        }
        sleepMs(SoundPlayer::FeedPauseMs);
    }
    return true;
}

void SoundPlayback::drain()
{
    constexpr int kLimitMs = SoundPlayer::SlotCount * 100 + SoundPlayer::DrainGraceMs;
    for (int waited = 0; !stopRequested() && !output_.allDone(); waited += SoundPlayer::FeedPauseMs) {
        if (waited >= kLimitMs) {
            qCInfo(lcAudio, "the output device stopped playing: the sound ends");
            return;
        }
        sleepMs(SoundPlayer::FeedPauseMs);
    }
}

int SoundPlayback::slotSize(const SoundFormat& format, int frameBytes)
{
    // A compressed source reports its coded rate, which can be far below the rate of the sound it
    // delivers; a slot that does not outlast the 60 ms feeding pass plays with gaps. A file may
    // claim any rate: the sums are done wide.
    const std::int64_t pcmBytesPerMillisecond = std::int64_t{format.sampleRate} * frameBytes / 1000;
    const std::int64_t wanted =
        std::max<std::int64_t>(format.bytesPerMillisecond, pcmBytesPerMillisecond) * 100;
    // Sounds faster than the buffer allows play in buffer-sized slots instead of overrunning it.
    if (wanted > SoundPlayer::PcmBufferSize) {
        qCInfo(lcAudio, "a sound that wants %lld-byte slots plays in %d-byte ones",
               static_cast<long long>(wanted), SoundPlayer::PcmBufferSize);
    }
    return static_cast<int>(std::clamp<std::int64_t>(wanted, 0, SoundPlayer::PcmBufferSize));
}

bool SoundPlayback::writeWithRetries(int length)
{
    // A stop asked meanwhile ends the retries.
    for (int attempt = 1;; ++attempt) {
        if (output_.write(pcm_.get(), length) != 0) return true;
        if (attempt == SoundPlayer::WriteTries || stopRequested()) return false;
        sleepMs(SoundPlayer::WriteRetryMs);
    }
}

}  // namespace tarnix
