#include "sim_script.h"

#include "sim_transcript.h"
#include "sim_windows.h"
#include "skype_sim.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <unistd.h>

namespace tarnix::sim {
namespace {

// What follows the verb as written, inner blanks included.
QString textAfter(const QString& line, const QString& verb)
{
    return line.mid(line.indexOf(verb) + verb.size() + 1);
}

}  // namespace

const char* const SimScript::kHelp =
    "Script lines (from --script FILE, else standard input; '#' starts a comment):\n"
    "  ring N PARTNER       call N rings, coming from PARTNER (CALL N STATUS RINGING)\n"
    "  status N WORD        call N takes the status WORD (INPROGRESS, FINISHED, MISSED, ...)\n"
    "  end N                call N ends (CALL N STATUS FINISHED)\n"
    "  userstatus WORD      the user's own status (ONLINE, DND, ...)\n"
    "  mute on|off          the microphone is muted or not\n"
    "  speak                with --voice: the caller says it into the call; the next line waits\n"
    "                       until it is said (EVENT spoke)\n"
    "  heard                with --voice: EVENT heard SECONDS peak PEAK, the sound on the input\n"
    "  notify TEXT          any notification, sent as it is\n"
    "  foreign TEXT         the same, but from another bus connection\n"
    "  popup TITLE          with a display: a pop-up owned by the main form\n"
    "  entry TEXT           with a display: the main form's entry box holds TEXT\n"
    "  iconify              with a display: the main form is minimised (needs a window manager)\n"
    "  sleep MS             wait before the next line\n"
    "  wait-attach          wait until a client has attached\n"
    "  hang [MS]            stop answering anything (for MS milliseconds, else for good)\n"
    "  release              give up com.Skype.API and live on (EVENT released)\n"
    "  crash                exit at once, as a crash would\n"
    "  quit                 exit normally\n";

SimScript::SimScript(SkypeSim& sim, SimWindows& windows, SimTranscript& transcript)
    : sim_(sim), windows_(windows), transcript_(transcript)
{
    connect(&sim_, &SkypeSim::clientAttached, this, [this] {
        transcript_.write("EVENT", QStringLiteral("attached"));
        runPending();
    });
}

SimScript::~SimScript() = default;

bool SimScript::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    pending_ += QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QTimer::singleShot(0, this, &SimScript::runPending);
    return true;
}

void SimScript::readStandardInput()
{
    input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    connect(input_.get(), &QSocketNotifier::activated, this, &SimScript::onInputReadable);
}

void SimScript::onInputReadable()
{
    char buffer[65536];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        input_->setEnabled(false);
        pending_ << QStringLiteral("quit");
        runPending();
        return;
    }
    partial_.append(buffer, got);
    for (qsizetype end = partial_.indexOf('\n'); end >= 0; end = partial_.indexOf('\n')) {
        pending_ << QString::fromUtf8(partial_.left(end));
        partial_.remove(0, end + 1);
    }
    runPending();
}

void SimScript::runPending()
{
    if (held_) return;
    while (!pending_.isEmpty()) {
        const QString line = pending_.takeFirst();
        if (!runLine(line)) return;
    }
}

bool SimScript::runLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) return true;
    const QString verb = trimmed.section(QLatin1Char(' '), 0, 0);
    const QString rest = trimmed.section(QLatin1Char(' '), 1);
    const QStringList args = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (verb == QLatin1String("ring") && args.size() >= 2) {
        sim_.ringCall(args[0].toInt(), args[1]);
    } else if (verb == QLatin1String("status") && args.size() >= 2) {
        sim_.setCallStatus(args[0].toInt(), args[1]);
    } else if (verb == QLatin1String("end") && args.size() >= 1) {
        sim_.setCallStatus(args[0].toInt(), QStringLiteral("FINISHED"));
    } else if (verb == QLatin1String("userstatus") && args.size() >= 1) {
        sim_.setUserStatus(args[0]);
    } else if (verb == QLatin1String("mute") && args.size() >= 1) {
        sim_.setMute(args[0] == QLatin1String("on"));
    } else if (verb == QLatin1String("speak")) {
        held_ = true;
        sim_.speak([this] {
            held_ = false;
            runPending();
        });
        return false;
    } else if (verb == QLatin1String("heard")) {
        sim_.reportHeard();
    } else if (verb == QLatin1String("notify")) {
        sim_.notify(textAfter(line, verb));
    } else if (verb == QLatin1String("foreign")) {
        foreignNotify(textAfter(line, verb));
    } else if (verb == QLatin1String("popup")) {
        windows_.showPopup(rest);
    } else if (verb == QLatin1String("entry")) {
        windows_.setEntryText(textAfter(line, verb));
    } else if (verb == QLatin1String("iconify")) {
        windows_.iconifyForm();
    } else if (verb == QLatin1String("sleep") && args.size() >= 1) {
        held_ = true;
        QTimer::singleShot(args[0].toInt(), this, [this] {
            held_ = false;
            runPending();
        });
        return false;
    } else if (verb == QLatin1String("wait-attach")) {
        if (!sim_.attached()) {
            pending_.prepend(line);
            return false;
        }
    } else if (verb == QLatin1String("hang")) {
        transcript_.write("EVENT", QStringLiteral("hang"));
        if (args.isEmpty()) {
            for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(args[0].toInt()));
    } else if (verb == QLatin1String("release")) {
        sim_.releaseName();
        transcript_.write("EVENT", QStringLiteral("released"));
    } else if (verb == QLatin1String("crash")) {
        transcript_.write("EVENT", QStringLiteral("crash"));
        std::_Exit(3);
    } else if (verb == QLatin1String("quit")) {
        QCoreApplication::exit(0);
        return false;
    } else {
        transcript_.write("BADLINE", trimmed);
    }
    return true;
}

void SimScript::foreignNotify(const QString& text)
{
    sim_.notifyFrom(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("foreign")),
                    text);
}

}  // namespace tarnix::sim
