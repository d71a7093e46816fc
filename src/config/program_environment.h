#pragma once

#include <string>

namespace tarnix {

// What the configuration needs from the desktop it runs on: where the program lives and the
// entry that starts it with the session.
class ProgramEnvironment {
public:
    virtual ~ProgramEnvironment() = default;
    // The folder of the program's executable file, ending in "/"; config.xml and locale.xml live
    // there.
    virtual std::string programFolder() const = 0;
    // Where recorded messages are kept, ending in "/"; the "messages" folder beside the program
    // unless the installation keeps them elsewhere.
    virtual std::string messagesFolder() const { return programFolder() + "messages/"; }
    // Creates or removes the entry that starts the program at log-in. Returns false on failure.
    virtual bool setAutostart(bool enabled) = 0;
};

}  // namespace tarnix
