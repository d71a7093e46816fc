// The phone around the Skype client on the real session bus: the D-Bus carrier, the Skype and
// QQ clients, the phone controller and a melody handset (model 4) on the fake HID bus, all on
// Qt's event loop. Prints what the surroundings are told ("status ...", "tray ...",
// "light N") and each report the handset receives ("report 01 25") as it happens, and reads
// commands from standard input:
//   state        prints "state attached=A incall=I mute=M userstatus=U version=LENGTH friends=N"
//   send TEXT    sends TEXT as a command
//   sendbusy MS TEXT  sends TEXT, then keeps the main thread busy for MS milliseconds
//   quit         ends the program (so does the end of the input)
#include "base/qt_event_loop.h"
#include "messenger_stack.h"
#include "platform/linux/dbus/dbus_skype_transport.h"
#include "virtual_handsets.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void runCommand(tarnix::test::MessengerStack& stack, const std::string& line)
{
    tarnix::SkypeClient& skype = stack.skype;
    if (line == "state") {
        say("state attached=" + std::to_string(skype.isAttached()) +
            " incall=" + std::to_string(skype.inCall()) + " mute=" + std::to_string(skype.muteState()) +
            " userstatus=" + std::to_string(skype.userStatus()) +
            " version=" + std::to_string(skype.skypeVersion().length()) +
            " friends=" + std::to_string(skype.friends().records().size()));
    } else if (line.rfind("send ", 0) == 0) {
        skype.sendCommand(line.substr(5));
    } else if (line.rfind("sendbusy ", 0) == 0) {
        const std::size_t text = line.find(' ', 9);
        skype.sendCommand(line.substr(text + 1));
        QThread::msleep(std::stoul(line.substr(9, text - 9)));
    } else if (line == "quit") {
        QCoreApplication::exit(0);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tarnix::QtEventLoop loop;
    tarnix::DbusSkypeTransport transport;
    tarnix::test::MessengerStack stack(loop, transport);
    stack.wave.outputs = {"USB Audio Device"};
    stack.wave.inputs = {"USB Audio Device"};
    stack.settings.ringVolume = 80;
    stack.settings.skypeTone = 3;
    stack.log.onLine = say;

    auto handset = std::make_shared<tarnix::sim::VirtualMelodyHandset>();
    stack.bus.plug(handset);
    std::size_t reportsShown = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [&] {
        for (const auto& written = handset->written(); reportsShown < written.size(); ++reportsShown) {
            say("report " + tarnix::test::hexHead(written[reportsShown], 3).substr(3));
        }
    });

    if (!transport.open()) return 1;
    stack.skype.create();
    stack.controller.StartController();
    stack.controller.UpdateStatus();

    std::string input;
    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        char buffer[65536];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            commands.setEnabled(false);
            QCoreApplication::exit(0);
            return;
        }
        input.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end = input.find('\n'); end != std::string::npos; end = input.find('\n')) {
            const std::string line = input.substr(0, end);
            input.erase(0, end + 1);
            runCommand(stack, line);
        }
    });
    say("ready");
    return app.exec();
}
