#pragma once

#include <string>

namespace tarnix {

struct CallEntry;

// Voice answering as the call table, the messenger client and the program reach it. Main
// thread only.
class VoiceAnswering {
public:
    virtual ~VoiceAnswering() = default;
    // A call began to ring: the machine may take it once its delay has passed.
    virtual void ringingStarted(CallEntry& entry) = 0;
    // An armed call went in progress, and ended.
    virtual void startVoiceAnswering(CallEntry& entry) = 0;
    virtual void endVoiceAnswering(CallEntry& entry) = 0;
    // The requests posted to the messenger client's queue.
    virtual void startAnswering(const std::u16string& greetingFile, const std::u16string& messagePath) = 0;
    virtual void stopAnswering() = 0;
    // The user lifted the handset or pressed the call key: no ringing call is taken from now on,
    // and a call the machine answers goes on with the person. True when it took one over.
    virtual bool userTakesCall() = 0;
    // The messenger named a sound device it uses ("AUDIO_IN ..." / "AUDIO_OUT ...").
    virtual void noteAudioDevice(bool input, const std::u16string& name) = 0;
    // The program ends: a message being recorded is finished and listed now.
    virtual void finishBeforeExit() = 0;
};

}  // namespace tarnix
