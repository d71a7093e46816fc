#pragma once

#include "program_copy.h"
#include "temp_folder.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace tarnix::test {

// A private user session for the real program: a home, XDG folders and a runtime folder of its
// own, no display and no session bus until the test gives one. The program is copied with its
// language file into a folder of its own (config.xml is written beside it), or run where it is
// installed.
class ProgramSession {
public:
    static constexpr const char* kRunning = "tarnix.program: running";

    // The executable and language file to copy; an empty localeFile runs the executable in place.
    ProgramSession(const QString& executable, const QString& localeFile);

    bool ready() const { return ready_; }
    void setDisplay(const QString& display) { env_.insert("DISPLAY", display); }
    void setBus(const QString& address) { env_.insert("DBUS_SESSION_BUS_ADDRESS", address); }
    void setHome(const QString& folder) { env_.insert("HOME", folder); }
    void setVariable(const QString& name, const QString& value) { env_.insert(name, value); }
    const QProcessEnvironment& environment() const { return env_; }
    const QString& executable() const { return executable_; }
    // The copy's folder (unused when the program runs in place).
    TempFolder& folder() { return folder_; }
    // The session's home: .config, .local/share and .cache are its XDG folders.
    const TempFolder& home() const { return home_; }

    std::unique_ptr<ProgramCopy> start(const QStringList& arguments = {}) const;

private:
    TempFolder folder_;
    TempFolder home_;
    QTemporaryDir runtime_;
    QProcessEnvironment env_;
    QString executable_;
    bool ready_ = false;
};

}  // namespace tarnix::test
