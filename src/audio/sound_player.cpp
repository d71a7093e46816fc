#include "audio/sound_player.h"

#include "audio/audio_log.h"
#include "audio/mp3_source.h"
#include "audio/wav_source.h"
#include "audio/wave_resources.h"

#include <algorithm>
#include <cstdint>

namespace tarnix {

SoundPlayer::SoundPlayer(WaveDevices& devices)
    : output_(devices), pcm_(std::make_unique<unsigned char[]>(PcmBufferSize))
{
}

SoundPlayer::~SoundPlayer()
{
    stopPlayback();
    source_.reset();
}

int SoundPlayer::loadWavFile(const std::string& path)
{
    return loadFile(std::make_unique<WavSource>(), path);
}

int SoundPlayer::loadMp3File(const std::string& path)
{
    return loadFile(std::make_unique<Mp3Source>(), path);
}

int SoundPlayer::loadFile(std::unique_ptr<SoundSource> source, const std::string& path)
{
    // A file that cannot be opened leaves the loaded sound, and its playback, as they were.
    std::unique_ptr<ByteStream> stream = FileStream::open(path);
    if (stream == nullptr) {
        return 0;
    }
    return setSource(std::move(source), std::move(stream));
}

int SoundPlayer::loadWavResource(int id)
{
    const std::span<const unsigned char> bytes = findWaveResource(id);
    if (bytes.empty()) {
        return 0;
    }
    return setWavSource(std::make_unique<MemoryStream>(bytes.data(), bytes.size()));
}

int SoundPlayer::setWavSource(std::unique_ptr<ByteStream> stream)
{
    return setSource(std::make_unique<WavSource>(), std::move(stream));
}

int SoundPlayer::setMp3Source(std::unique_ptr<ByteStream> stream)
{
    return setSource(std::make_unique<Mp3Source>(), std::move(stream));
}

int SoundPlayer::setSource(std::unique_ptr<SoundSource> source, std::unique_ptr<ByteStream> stream)
{
    stopPlayback();
    if (stream == nullptr) {
        return 0;
    }
    source_ = std::move(source);
    source_->openSource(std::move(stream));
    return 1;
}

int SoundPlayer::play(PlaybackListener* listener, bool loop)
{
    // A second play on a running player would join a thread that may never end (a looping
    // sound) or run two threads over one source: end the first playback instead.
    if (isRunning()) {
        stopPlayback();
    }
    listener_ = listener;
    loop_ = loop;
    start();
    return 0;
}

void SoundPlayer::stopPlayback()
{
    stop();
    if (output_.isRunning()) {
        output_.close();
    }
}

void SoundPlayer::run()
{
    if (source_ == nullptr) {
        return;
    }
    SoundFormat format;
    source_->getFormat(format);
    const int channels = format.stereo != 0 ? 2 : 1;
    const int bits = format.sixteenBit != 0 ? 16 : 8;
    const int slot = slotSize(format, channels * bits / 8);
    output_.setBuffers(slot, SlotCount);
    output_.open(deviceId_, channels, format.sampleRate, bits);
    // Without a device the sound would "play" until someone stops it: it ends now instead.
    if (output_.deviceOpen()) {
        if (feed(slot)) drain();
    } else {
        qCInfo(lcAudio, "the output device %d did not open: the sound ends", deviceId_);
    }
    output_.close();
    if (listener_ != nullptr) {
        listener_->onPlaybackFinished(*this);
    }
}

bool SoundPlayer::feed(int slot)
{
    int droppedInARow = 0;
    while (!stopRequested()) {
        int length = slot;
        source_->readPcm(pcm_.get(), length);
        if (length > 0) {
            droppedInARow = writeWithRetries(length) ? 0 : droppedInARow + 1;
            if (droppedInARow == DroppedBlocksToGiveUp) {
                qCInfo(lcAudio, "the output device stopped taking sound: the sound ends");
                return false;
            }
        } else if (!loop_) {
            return true;
        } else {
            source_->seekFraction(0, 100);
        }
        sleepMs(FeedPauseMs);
    }
    return true;
}

void SoundPlayer::drain()
{
    constexpr int kLimitMs = SlotCount * 100 + DrainGraceMs;
    for (int waited = 0; !stopRequested() && !output_.allDone(); waited += FeedPauseMs) {
        if (waited >= kLimitMs) {
            qCInfo(lcAudio, "the output device stopped playing: the sound ends");
            return;
        }
        sleepMs(FeedPauseMs);
    }
}

int SoundPlayer::slotSize(const SoundFormat& format, int frameBytes)
{
    // A compressed source reports its coded rate, which can be far below the rate of the sound it
    // delivers; a slot that does not outlast the 60 ms feeding pass plays with gaps. A file may
    // claim any rate: the sums are done wide.
    const std::int64_t pcmBytesPerMillisecond = std::int64_t{format.sampleRate} * frameBytes / 1000;
    const std::int64_t wanted =
        std::max<std::int64_t>(format.bytesPerMillisecond, pcmBytesPerMillisecond) * 100;
    // Sounds faster than the buffer allows play in buffer-sized slots instead of overrunning it.
    if (wanted > PcmBufferSize) {
        qCInfo(lcAudio, "a sound that wants %lld-byte slots plays in %d-byte ones",
               static_cast<long long>(wanted), PcmBufferSize);
    }
    return static_cast<int>(std::clamp<std::int64_t>(wanted, 0, PcmBufferSize));
}

bool SoundPlayer::writeWithRetries(int length)
{
    // A stop asked meanwhile ends the retries: the caller waits for this thread.
    for (int attempt = 1;; ++attempt) {
        if (output_.write(pcm_.get(), length) != 0) return true;
        if (attempt == WriteTries || stopRequested()) return false;
        sleepMs(WriteRetryMs);
    }
}

}  // namespace tarnix
