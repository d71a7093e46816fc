#pragma once

#include "program_copy.h"
#include "temp_folder.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>

namespace tarnix::test {

// A private user session for the real program: the program copied with its language file into
// a folder of its own (config.xml is written beside it), its own runtime folder and
// configuration home, no display and no session bus until the test gives one.
class ProgramSession {
public:
    static constexpr const char* kRunning = "tarnix.program: running";

    // The executable and language file to copy.
    ProgramSession(const QString& executable, const QString& localeFile);

    bool ready() const { return ready_; }
    void setDisplay(const QString& display) { env_.insert("DISPLAY", display); }
    void setBus(const QString& address) { env_.insert("DBUS_SESSION_BUS_ADDRESS", address); }
    void setHome(const QString& folder) { env_.insert("HOME", folder); }
    const QProcessEnvironment& environment() const { return env_; }
    TempFolder& folder() { return folder_; }

    std::unique_ptr<ProgramCopy> start(const QStringList& arguments = {}) const;

private:
    TempFolder folder_;
    QTemporaryDir runtime_;
    QProcessEnvironment env_;
    QString executable_;
    bool ready_ = false;
};

}  // namespace tarnix::test
