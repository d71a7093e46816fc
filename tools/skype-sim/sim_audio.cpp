#include "sim_audio.h"

#include "audio/device_lookup.h"
#include "sim_transcript.h"

#include <QMetaObject>

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace tarnix::sim {
namespace {

constexpr int kRate = 48000;
// Quieter than this is the silence of an idle line, not sound.
constexpr int kSoundLevel = 300;

}  // namespace

SimAudio::SimAudio(SimTranscript& transcript, QString voice)
    : transcript_(transcript),
      voice_(std::move(voice)),
      devices_(std::make_unique<AlsaWaveDevices>()),
      player_(*devices_),
      capture_(*devices_)
{
    capture_.setBuffers(4800, 8);
    capture_.setSink(this);
}

SimAudio::~SimAudio()
{
    player_.stopPlayback();
    stopListening();
}

void SimAudio::setOutput(const QString& name)
{
    // A stand-in without udev events: cables made since the last look-up must be seen.
    devices_->devicesChanged();
    player_.setDeviceId(findOutputByName(*devices_, name.toStdString()));
}

void SimAudio::setInput(const QString& name)
{
    stopListening();
    devices_->devicesChanged();
    const int id = findInputByName(*devices_, name.toStdString());
    if (id < 0) {
        transcript_.write("EVENT", QStringLiteral("no input ") + name);
        return;
    }
    loudSamples_ = 0;
    peak_ = 0;
    listening_ = capture_.open(id, 1, kRate, 16) != 0;
}

void SimAudio::speak(std::function<void()> done)
{
    if (player_.deviceId() < 0 || player_.loadWavFile(voice_.toStdString()) == 0) {
        transcript_.write("EVENT", QStringLiteral("cannot speak"));
        done();
        return;
    }
    spoken_ = std::move(done);
    player_.play(this, false);
}

void SimAudio::onPlaybackFinished(SoundPlayer&)
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            transcript_.write("EVENT", QStringLiteral("spoke"));
            if (spoken_) std::exchange(spoken_, {})();
        },
        Qt::QueuedConnection);
}

int SimAudio::write(const void* data, int length)
{
    const auto* samples = static_cast<const std::int16_t*>(data);
    for (int i = 0; i < length / 2; ++i) {
        const int level = std::abs(static_cast<int>(samples[i]));
        if (level > kSoundLevel) ++loudSamples_;
        if (level > peak_) peak_ = level;
    }
    return 1;
}

void SimAudio::reportHeard()
{
    transcript_.write("EVENT", QStringLiteral("heard %1 peak %2")
                                   .arg(static_cast<double>(loudSamples_) / kRate, 0, 'f', 2)
                                   .arg(peak_.load()));
}

void SimAudio::stopListening()
{
    if (!listening_) return;
    capture_.close();
    listening_ = false;
}

}  // namespace tarnix::sim
