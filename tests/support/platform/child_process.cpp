#include "child_process.h"

#include <QCoreApplication>

namespace tarnix {

void ensureQtApplication()
{
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment, bool mergeErrors)
    : process_(std::make_unique<QProcess>())
{
    ensureQtApplication();
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(mergeErrors ? QProcess::MergedChannels : QProcess::ForwardedErrorChannel);
    process_->start(program, arguments);
    started_ = process_->waitForStarted(5000);
}

ChildProcess::~ChildProcess()
{
    if (running()) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

bool ChildProcess::started() const
{
    return started_;
}

bool ChildProcess::running() const
{
    return process_->state() == QProcess::Running;
}

std::string ChildProcess::readLine(int timeoutMs)
{
    while (!process_->canReadLine()) {
        if (!process_->waitForReadyRead(timeoutMs)) {
            return {};
        }
    }
    return process_->readLine().trimmed().toStdString();
}

bool ChildProcess::waitForExit(int timeoutMs)
{
    return process_->state() == QProcess::NotRunning || process_->waitForFinished(timeoutMs);
}

int ChildProcess::exitCode() const
{
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

qint64 ChildProcess::pid() const
{
    return process_->processId();
}

void ChildProcess::writeLine(const std::string& line)
{
    write(line + "\n");
}

void ChildProcess::write(const std::string& text)
{
    process_->write(text.data(), static_cast<qint64>(text.size()));
    process_->waitForBytesWritten(5000);
}

void ChildProcess::closeInput()
{
    process_->closeWriteChannel();
}

void ChildProcess::crash()
{
    process_->kill();
    process_->waitForFinished(5000);
}

}  // namespace tarnix
