#pragma once

#include <string>

namespace tarnix {

struct CallEntry;

// Voice answering as the call table and the messenger's mailbox reach it: taking over an armed
// call when it goes in progress, ending it with the call, and the start and stop requests that
// arrive on the main thread from elsewhere.
class VoiceAnswering {
public:
    virtual ~VoiceAnswering() = default;
    virtual void startVoiceAnswering(CallEntry& entry) = 0;
    virtual void endVoiceAnswering(CallEntry& entry) = 0;
    virtual void startAnswering(const std::u16string& greetingFile, const std::u16string& messagePath) = 0;
    virtual void stopAnswering() = 0;
};

}  // namespace tarnix
