#include "program/log_output.h"

#include <QLoggingCategory>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tarnix {
namespace {

bool stderrIsTheJournal = false;

// systemd names the stream it connected in $JOURNAL_STREAM as "device:inode"; a program whose
// stderr was redirected since has another file there.
bool journalOwnsStderr()
{
    const char* stream = std::getenv("JOURNAL_STREAM");
    struct stat info {};
    if (stream == nullptr || ::fstat(STDERR_FILENO, &info) != 0) return false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (std::sscanf(stream, "%llu:%llu", &device, &inode) != 2) return false;
    return device == info.st_dev && inode == info.st_ino;
}

char priority(QtMsgType type)
{
    switch (type) {
        case QtDebugMsg:
            return '7';
        case QtInfoMsg:
            return '6';
        case QtWarningMsg:
            return '4';
        case QtCriticalMsg:
            return '3';
        case QtFatalMsg:
            return '2';
    }
    return '6';
}

void writeMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    std::string line;
    if (stderrIsTheJournal) line = {'<', priority(type), '>'};
    if (context.category != nullptr && std::string_view(context.category) != "default") {
        line += context.category;
        line += ": ";
    }
    // One message, one journal entry.
    for (const char c : message.toUtf8()) line.push_back(c == '\n' ? ' ' : c);
    line.push_back('\n');
    // One write, so lines from the sound threads do not interleave.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace

void installLogOutput()
{
    stderrIsTheJournal = journalOwnsStderr();
    qInstallMessageHandler(writeMessage);
}

void showDebugMessages()
{
    QLoggingCategory::setFilterRules(QStringLiteral("tarnix.*.debug=true"));
}

}  // namespace tarnix
