#pragma once

#include <string>

namespace tarnix {

// The player of recorded messages on the computer's own speakers, as the message list uses it.
// UI thread only.
class MessagePlayback {
public:
    virtual ~MessagePlayback() = default;
    // Loads the MP3 file and starts playing it; false when it cannot be loaded or played.
    virtual bool startMessage(const std::string& path) = 0;
    virtual bool isPlaying() const = 0;
    virtual void stopMessage() = 0;
};

}  // namespace tarnix
