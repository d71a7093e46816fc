#include "program_copy.h"

#include <QElapsedTimer>

#include <csignal>

namespace tarnix::test {

ProgramCopy::ProgramCopy(const QString& executable, const QProcessEnvironment& environment,
                         const QStringList& arguments)
    : process_(std::make_unique<QProcess>())
{
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start(executable, arguments);
    started_ = process_->waitForStarted(5000);
}

ProgramCopy::~ProgramCopy()
{
    if (running()) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

bool ProgramCopy::waitForOutput(const QString& text, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!output().contains(text)) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || !running()) return output().contains(text);
        process_->waitForReadyRead(left);
    }
    return true;
}

QString ProgramCopy::output()
{
    // Without an event loop the pipe is read only when asked: take in all it holds, or a program
    // that writes much would block once it is full.
    while (process_->state() == QProcess::Running && process_->waitForReadyRead(0)) {
    }
    output_ += QString::fromUtf8(process_->readAll());
    return output_;
}

void ProgramCopy::signal(int number) const
{
    ::kill(static_cast<pid_t>(process_->processId()), number);
}

bool ProgramCopy::waitForExit(int timeoutMs)
{
    const bool ended = process_->state() == QProcess::NotRunning || process_->waitForFinished(timeoutMs);
    output();
    return ended;
}

int ProgramCopy::exitCode() const
{
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

}  // namespace tarnix::test
