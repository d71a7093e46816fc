// skype-sim: a stand-in for the messenger on the session bus, for tests and the demo.
#include "sim_script.h"
#include "sim_transcript.h"
#include "sim_windows.h"
#include "skype_sim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("skype-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Behaves like the messenger toward the USB phone driver on the session bus: owns "
            "com.Skype.API, answers the handshake and the driver's commands, and records every "
            "command it receives (CMD), every reply (REPLY) and notification it sends (NOTIFY; FOREIGN "
            "when sent from another connection; UNSENT while no client is attached), and its events "
            "(EVENT ready, attached, hang, released, crash; BADLINE for a script line it does not know), one "
            "line each, stamped with the monotonic clock in seconds. When $DISPLAY opens it also shows "
            "the messenger's main form (titled Skype, with a login control and an entry box) and "
            "records what its windows go through (WINDOW form|popup 0x..., text TEXT, focus, tab, "
            "closed 0x...); otherwise it says so once (EVENT no display).\n\n") +
        QString::fromUtf8(tarnix::sim::SimScript::kHelp));
    parser.addHelpOption();
    const QCommandLineOption name(
        QStringLiteral("name"),
        QStringLiteral("How to answer NAME: ok (default), refuse (ERROR 68) or late."),
        QStringLiteral("answer"), QStringLiteral("ok"));
    const QCommandLineOption nameDelay(
        QStringLiteral("name-delay"),
        QStringLiteral("Milliseconds before a late NAME answer (default 3000)."), QStringLiteral("ms"),
        QStringLiteral("3000"));
    const QCommandLineOption friends(QStringLiteral("friends"),
                                     QStringLiteral("The contacts, comma-separated (default alice,bob)."),
                                     QStringLiteral("handles"), QStringLiteral("alice,bob"));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Run the script lines of this file instead of standard input."),
        QStringLiteral("file"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Append the record to this file instead of standard output."),
                                 QStringLiteral("file"));
    const QCommandLineOption voice(
        QStringLiteral("voice"),
        QStringLiteral("The caller's voice: a WAV file played on the device named by SET AUDIO_OUT at "
                       "\"speak\"; what comes in on the device named by SET AUDIO_IN is listened to."),
        QStringLiteral("file"));
    parser.addOptions({name, nameDelay, friends, script, log, voice});
    parser.process(app);

    tarnix::sim::SkypeSim::Options options;
    const QString answer = parser.value(name);
    if (answer == QLatin1String("refuse")) {
        options.nameAnswer = tarnix::sim::SkypeSim::NameAnswer::Refuse;
    } else if (answer == QLatin1String("late")) {
        options.nameAnswer = tarnix::sim::SkypeSim::NameAnswer::Late;
    } else if (answer != QLatin1String("ok")) {
        std::fprintf(stderr, "skype-sim: --name takes ok, refuse or late\n");
        return 2;
    }
    options.nameDelayMs = parser.value(nameDelay).toInt();
    options.friends = parser.value(friends).split(QLatin1Char(','), Qt::SkipEmptyParts);
    options.voice = parser.value(voice);

    tarnix::sim::SimTranscript transcript(parser.value(log));
    if (!transcript.isOpen()) {
        std::fprintf(stderr, "skype-sim: cannot write %s\n", qPrintable(parser.value(log)));
        return 2;
    }
    tarnix::sim::SkypeSim sim(QDBusConnection::sessionBus(), transcript, options);
    if (!sim.start()) {
        std::fprintf(stderr, "skype-sim: cannot own com.Skype.API on the session bus\n");
        return 1;
    }
    transcript.write("EVENT", QStringLiteral("ready"));
    tarnix::sim::SimWindows windows(transcript);

    tarnix::sim::SimScript lines(sim, windows, transcript);
    if (parser.isSet(script)) {
        if (!lines.readFile(parser.value(script))) {
            std::fprintf(stderr, "skype-sim: cannot read %s\n", qPrintable(parser.value(script)));
            return 2;
        }
    } else {
        lines.readStandardInput();
    }
    return app.exec();
}
