#include "platform/linux/alsa/alsa_wave_in.h"

#include "audio/audio_log.h"

namespace tarnix {

bool AlsaWaveIn::open(const std::string& name, const PcmFormat& format)
{
    return pcm_.open(name, SND_PCM_STREAM_CAPTURE, format);
}

int AlsaWaveIn::start()
{
    return snd_pcm_start(pcm_.handle()) == 0 ? WaveOk : WaveError;
}

int AlsaWaveIn::stop()
{
    snd_pcm_drop(pcm_.handle());
    return WaveOk;
}

int AlsaWaveIn::addBuffer(WaveHeader& header)
{
    header.bytesRecorded = 0;
    return pcm_.hold(header);
}

void AlsaWaveIn::update()
{
    snd_pcm_t* pcm = pcm_.handle();
    if (snd_pcm_state(pcm) == SND_PCM_STATE_XRUN) {
        recoverFromOverrun(-EPIPE);
    }
    const std::size_t frameBytes = pcm_.frameBytes();
    while (WaveHeader* header = pcm_.oldest()) {
        const std::size_t frames = (header->bufferLength - header->bytesRecorded) / frameBytes;
        if (frames > 0) {
            const snd_pcm_sframes_t n = snd_pcm_readi(pcm, header->data + header->bytesRecorded, frames);
            if (n == -EAGAIN || n == 0) {
                return;
            }
            if (n < 0) {
                recoverFromOverrun(static_cast<int>(n));
                return;
            }
            header->bytesRecorded += static_cast<std::uint32_t>(static_cast<std::size_t>(n) * frameBytes);
            if (static_cast<std::size_t>(n) < frames) {
                continue;
            }
        }
        pcm_.releaseOldest();
    }
}

void AlsaWaveIn::recoverFromOverrun(int error)
{
    // The sound captured while nobody read is lost; capture goes on from now.
    int err = snd_pcm_recover(pcm_.handle(), error, 1);
    if (err >= 0) {
        err = snd_pcm_start(pcm_.handle());
    }
    if (err < 0) {
        qCWarning(lcAudio, "capture cannot recover: %s", snd_strerror(err));
    }
}

}  // namespace tarnix
