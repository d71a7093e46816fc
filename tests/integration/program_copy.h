#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <memory>

namespace tarnix::test {

// One run of the real program: its folder, its environment, and everything it logs.
class ProgramCopy {
public:
    ProgramCopy(const QString& executable, const QProcessEnvironment& environment,
                const QStringList& arguments = {});
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    bool started() const { return started_; }
    bool running() const { return process_->state() == QProcess::Running; }
    qint64 pid() const { return process_->processId(); }
    // Waits until the program has logged the text; false when it ends or the time runs out first.
    bool waitForOutput(const QString& text, int timeoutMs = 30000);
    // The program's log so far.
    QString output();
    void signal(int number) const;
    bool waitForExit(int timeoutMs = 10000);
    // -1 when the program did not end by itself (a crash, a signal it did not handle).
    int exitCode() const;

private:
    std::unique_ptr<QProcess> process_;
    QString output_;
    bool started_ = false;
};

}  // namespace tarnix::test
