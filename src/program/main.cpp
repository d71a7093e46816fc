#include "platform/linux/dbus/dbus_command_client.h"
#include "platform/linux/desktop/xdg_desktop.h"
#include "program/application.h"
#include "program/command_line.h"
#include "program/log_output.h"
#include "program/program_application.h"

#include <QApplication>

#include <cstdio>

namespace {

// The program drives X11 (key presses, the messenger's windows), so it runs on the X display;
// without one it still runs, with no window reaching anyone.
bool chooseQtPlatform()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return false;
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb;offscreen");
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    tarnix::installLogOutput();
    const bool platformChosen = chooseQtPlatform();
    // Made first so that Qt takes its own options (-platform, -display) out of the arguments; it
    // needs no display: without one it falls back to offscreen.
    tarnix::ProgramApplication qtApplication(argc, argv);
    // Not passed on to the programs we start.
    if (platformChosen) qunsetenv("QT_QPA_PLATFORM");
    qtApplication.setQuitOnLastWindowClosed(false);

    const tarnix::CommandLine line = tarnix::parseCommandLine(QCoreApplication::arguments());
    switch (line.action) {
        case tarnix::CommandLine::Action::ShowHelp:
            std::fputs(line.text.toLocal8Bit().constData(), stdout);
            return 0;
        case tarnix::CommandLine::Action::ShowVersion:
            std::printf("tarnix-usbphone %s\n", TARNIX_VERSION);
            return 0;
        case tarnix::CommandLine::Action::Fail:
            std::fputs(line.text.toLocal8Bit().constData(), stderr);
            return 2;
        case tarnix::CommandLine::Action::Run:
            break;
    }
    if (line.verbose) tarnix::showDebugMessages();

    if (line.command != 0) {
        switch (tarnix::sendInstanceCommand(line.command)) {
            case tarnix::InstanceReply::Done:
                return 0;
            case tarnix::InstanceReply::Refused:
                std::fputs("The running program refused the command.\n", stderr);
                return 1;
            case tarnix::InstanceReply::NoInstance:
                if (!line.show) {
                    std::fputs("The program is not running.\n", stderr);
                    return 1;
                }
                break;
        }
    }

    tarnix::XdgDesktop desktop = tarnix::XdgDesktop::forThisProcess();
    tarnix::Application application(desktop);
    if (!application.Initialise(line.show)) return 0;
    return application.Run();
}
