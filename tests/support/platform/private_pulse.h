#pragma once

#include "child_process.h"

#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

namespace tarnix {

// A sound server of the test's own: its own home and runtime folders, the given module lines, and
// every client of this process pointed at it (PULSE_SERVER) while it lives.
class PrivatePulse {
public:
    explicit PrivatePulse(const QString& modules);
    ~PrivatePulse();
    PrivatePulse(const PrivatePulse&) = delete;
    PrivatePulse& operator=(const PrivatePulse&) = delete;

    // True once the server answers its clients.
    bool ready() const { return ready_; }
    // Runs pactl against this server; true when it ends with 0.
    bool pactl(const QStringList& arguments) const;
    // SIGKILL: the server goes as a crash would end it.
    void crash() { server_->crash(); }
    // SIGSTOP / SIGCONT: a server that hangs, and comes back.
    void hang(bool hung) const { ::kill(static_cast<pid_t>(server_->pid()), hung ? SIGSTOP : SIGCONT); }

private:
    QTemporaryDir home_;
    std::unique_ptr<ChildProcess> server_;
    QString address_;
    bool ready_ = false;
};

}  // namespace tarnix
