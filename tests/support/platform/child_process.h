#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <string>

namespace tarnix {

// A program a test runs beside itself (a bus, a display server, a second copy of a probe): read
// line by line, and killed when the object goes.
class ChildProcess {
public:
    // `mergeErrors` reads the child's standard error among its output lines, else it goes to ours.
    ChildProcess(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                 bool mergeErrors = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const;
    bool running() const;
    // The next line of standard output without its newline; empty when none comes in time.
    std::string readLine(int timeoutMs = 5000);
    bool waitForExit(int timeoutMs = 5000);
    int exitCode() const;
    qint64 pid() const;
    // Writes text to the child's standard input.
    void write(const std::string& text);
    // One line to the child's standard input.
    void writeLine(const std::string& line);
    void closeInput();
    // SIGKILL: the child dies as a crash would end it.
    void crash();

private:
    std::unique_ptr<QProcess> process_;
    bool started_ = false;
};

// Qt's process and socket machinery wants an application object; tests share one.
void ensureQtApplication();

}  // namespace tarnix
