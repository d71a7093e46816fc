#pragma once

#include "audio/sound_in_channel.h"
#include "audio/sound_player.h"
#include "audio/sound_sink.h"
#include "audio/wave_device.h"
#include "platform/linux/alsa/alsa_wave_devices.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace tarnix::sim {

class SimTranscript;

// The call's sound as the messenger has it: the far party's voice played on the device named by
// "SET AUDIO_OUT", and what comes in on the device named by "SET AUDIO_IN" listened to. Devices
// are the system's sound devices, found by those names as the driver finds them.
class SimAudio final : public QObject, private PlaybackListener, private SoundSink {
    Q_OBJECT

public:
    // voice: the WAV file the caller says.
    SimAudio(SimTranscript& transcript, QString voice);
    ~SimAudio() override;

    // The messenger's devices, as the driver sets them.
    void setOutput(const QString& name);
    void setInput(const QString& name);
    // The caller speaks; once the voice has been played: "EVENT spoke", then done (on this
    // object's thread). Without an output or a voice: "EVENT cannot speak" and done at once.
    void speak(std::function<void()> done);
    // "EVENT heard SECONDS peak PEAK": how long sound came in on the input since it was set, and
    // its loudest sample.
    void reportHeard();

private:
    void onPlaybackFinished(SoundPlayer& player) override;
    int write(const void* data, int length) override;
    void stopListening();

    SimTranscript& transcript_;
    QString voice_;
    std::unique_ptr<AlsaWaveDevices> devices_;
    SoundPlayer player_;
    SoundInChannel capture_;
    std::function<void()> spoken_;
    bool listening_ = false;
    std::atomic<long long> loudSamples_{0};
    std::atomic<int> peak_{0};
};

}  // namespace tarnix::sim
