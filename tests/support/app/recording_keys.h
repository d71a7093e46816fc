#pragma once

#include "app/key_injector.h"
#include "transcript.h"

#include <string>

namespace tarnix::test {

// A virtual key by its name ("Return", "5", "P", "Numpad4", "LeftShift"); others as "0x5B".
std::string virtualKeyName(int virtualKey);

// The lines of one press of the named key: down, the press time, up.
Transcript keyPress(const std::string& name);

// "key down Return", "pause 10", "key up Return".
class RecordingKeys final : public KeyInjector {
public:
    explicit RecordingKeys(TranscriptLog& log) : log_(log) {}
    void keyDown(int virtualKey) override { log_.note("key down " + virtualKeyName(virtualKey)); }
    void keyUp(int virtualKey) override { log_.note("key up " + virtualKeyName(virtualKey)); }
    void pause(int ms) override { log_.note("pause " + std::to_string(ms)); }

private:
    TranscriptLog& log_;
};

}  // namespace tarnix::test
