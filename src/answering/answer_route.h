#pragma once

#include "audio/mp3_recorder.h"
#include "audio/sound_player.h"

#include <atomic>
#include <string>

namespace tarnix {

class MessageFolder;
class WaveDevices;

// The sound of an answered call: the greeting played into one virtual cable, then the caller
// recorded from the other into the message file. Started and stopped on the main thread.
class AnswerRoute final : public PlaybackListener {
public:
    static constexpr const char* GreetingDeviceName = "Virtual Cable 1 Out";
    static constexpr const char* RecorderDeviceName = "Virtual Cable 2 In";

    // greeting: the process-wide greeting player; the route gives it its device.
    AnswerRoute(WaveDevices& devices, SoundPlayer& greeting, MessageFolder& folder);
    ~AnswerRoute() override;
    AnswerRoute(const AnswerRoute&) = delete;
    AnswerRoute& operator=(const AnswerRoute&) = delete;

    // Looks both cable ends up; false when one is missing. A missing one is never replaced by
    // the default device: the greeting would sound in the room and the room be recorded.
    bool findDevices();
    // 0 when busy, when a cable end is missing or the path is empty (nothing done); else 1.
    // Without a greeting that plays, recording starts at once.
    int startAnswering(const std::string& greetingPath, const std::string& messagePath);
    // Ends greeting and recording; a message file that got no sound is removed. Returns whether
    // recording had begun.
    int stopAnswering();
    bool busy() const { return busy_; }

    // The greeting player's thread.
    void onPlaybackFinished(SoundPlayer& player) override;

private:
    WaveDevices& devices_;
    SoundPlayer& greeting_;
    MessageFolder& folder_;
    Mp3Recorder recorder_;
    std::string messagePath_;
    bool busy_ = false;
    // Set before the greeting is stopped: a greeting cut short by the end of the call must not
    // start a recording that would only leave an empty file.
    std::atomic<bool> stopping_{false};
};

}  // namespace tarnix
