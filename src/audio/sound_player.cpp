#include "audio/sound_player.h"

#include "audio/mp3_source.h"
#include "audio/sound_playback.h"
#include "audio/wav_source.h"
#include "audio/wave_resources.h"

#include <algorithm>

namespace tarnix {

SoundPlayer::SoundPlayer(WaveDevices& devices) : devices_(devices) {}

SoundPlayer::~SoundPlayer()
{
    stopPlayback();
    // The playbacks' destructors wait for their threads.
    stopped_.clear();
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
    // A stopped playback may still be reading the old source: it keeps its own share.
    source->openSource(std::move(stream));
    source_ = std::move(source);
    return 1;
}

int SoundPlayer::play(PlaybackListener* listener, bool loop)
{
    stopPlayback();
    // The newest stopped playback still running is the one whose device must close first.
    std::shared_future<void> previousClosed =
        stopped_.empty() ? std::shared_future<void>() : stopped_.back()->closed();
    current_ = std::make_unique<SoundPlayback>(SoundPlayback::Request{
        devices_, deviceId_, source_, loop, listener, *this, std::move(previousClosed)});
    current_->start();
    return 0;
}

void SoundPlayer::stopPlayback()
{
    releaseEnded();
    if (current_ == nullptr) return;
    current_->end();
    stopped_.push_back(std::move(current_));
}

bool SoundPlayer::isRunning() const
{
    return current_ != nullptr && current_->isRunning();
}

void SoundPlayer::releaseEnded()
{
    std::erase_if(stopped_,
                  [](const std::unique_ptr<SoundPlayback>& playback) { return !playback->isRunning(); });
}

}  // namespace tarnix
