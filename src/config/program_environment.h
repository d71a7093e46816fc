#pragma once

#include <string>

namespace tarnix {

// What the program needs from the desktop it runs on: where its files live and the entry that
// starts it with the session. Every folder ends in "/".
class ProgramEnvironment {
public:
    virtual ~ProgramEnvironment() = default;
    // Where config.xml is read and written. It may not exist yet: the writer creates it.
    virtual std::string configFolder() const = 0;
    // The folder whose locale.xml is read.
    virtual std::string localeFolder() const = 0;
    // Where recorded messages are saved. It may not exist yet: whoever saves one creates it.
    virtual std::string messagesFolder() const = 0;
    // The executable's folder: where files shipped beside the program are looked for.
    virtual std::string programFolder() const = 0;
    // Creates or removes the entry that starts the program at log-in. Returns false on failure.
    virtual bool setAutostart(bool enabled) = 0;
};

}  // namespace tarnix
