#pragma once

namespace tarnix {

// Sends one command text to a messenger; nonzero when it went out.
class CommandSender {
public:
    virtual ~CommandSender() = default;
    virtual int sendCommand(const char* text) = 0;
};

}  // namespace tarnix
