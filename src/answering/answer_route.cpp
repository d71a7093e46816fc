#include "answering/answer_route.h"

#include "answering/answering_log.h"
#include "answering/message_folder.h"
#include "audio/device_lookup.h"
#include "audio/lame_encoder.h"
#include "audio/sound_in_channel.h"

#include <memory>

namespace tarnix {

AnswerRoute::AnswerRoute(WaveDevices& devices, SoundPlayer& greeting, MessageFolder& folder)
    : devices_(devices),
      greeting_(greeting),
      folder_(folder),
      recorder_(std::make_unique<SoundInChannel>(devices), std::make_unique<LameEncoder>())
{
}

AnswerRoute::~AnswerRoute()
{
    stopAnswering();
}

bool AnswerRoute::findDevices()
{
    const int output = findOutputByName(devices_, GreetingDeviceName);
    const int input = findInputByName(devices_, RecorderDeviceName);
    if (output < 0 || input < 0) {
        qCInfo(lcAnswering, "no virtual cable:%s%s", output < 0 ? " no \"Virtual Cable 1 Out\"" : "",
               input < 0 ? " no \"Virtual Cable 2 In\"" : "");
        return false;
    }
    greeting_.setDeviceId(output);
    recorder_.setInputDevice(input);
    return true;
}

int AnswerRoute::startAnswering(const std::string& greetingPath, const std::string& messagePath)
{
    if (busy_ || messagePath.empty() || !findDevices()) return 0;
    messagePath_ = messagePath;
    busy_ = true;
    stopping_ = false;
    // An earlier greeting stays loaded when a file cannot be read; playing it would send its
    // stale tail to the caller, so an unreadable greeting is no greeting.
    if (greetingPath.empty() || greeting_.loadWavFile(greetingPath) == 0) {
        if (!greetingPath.empty())
            qCInfo(lcAnswering, "the greeting %s cannot be read", greetingPath.c_str());
        recorder_.startRecording(messagePath_);
        return 1;
    }
    greeting_.play(this, false);
    return 1;
}

void AnswerRoute::onPlaybackFinished(SoundPlayer&)
{
    if (!stopping_) recorder_.startRecording(messagePath_);
}

int AnswerRoute::stopAnswering()
{
    if (!busy_) return 0;
    stopping_ = true;
    // The greeting's listener is done when this returns: the recorder is read only after it.
    greeting_.stopPlayback();
    const bool wasRecording = recorder_.isRecording();
    recorder_.stopRecording();
    if (!wasRecording || recorder_.bytesAccepted() == 0) {
        qCInfo(lcAnswering, "no sound came; %s is not kept", messagePath_.c_str());
        folder_.remove(messagePath_);
    }
    busy_ = false;
    return wasRecording ? 1 : 0;
}

}  // namespace tarnix
