#include "platform/linux/desktop/xdg_desktop.h"
#include "program/application.h"
#include "program/command_line.h"
#include "program/log_output.h"

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
    QApplication qtApplication(argc, argv);
    // Not passed on to the programs we start.
    if (platformChosen) qunsetenv("QT_QPA_PLATFORM");
    qtApplication.setQuitOnLastWindowClosed(false);

    const tarnix::CommandLine options = tarnix::parseCommandLine(argc, argv);
    if (options.version) {
        std::printf("tarnix-usbphone %s\n", TARNIX_VERSION);
        return 0;
    }
    if (options.verbose) tarnix::showDebugMessages();
    for (const std::string& argument : options.unknown)
        qWarning("ignoring unknown option %s", argument.c_str());

    tarnix::XdgDesktop desktop = tarnix::XdgDesktop::forThisProcess();
    tarnix::Application application(desktop);
    if (!application.Initialise()) return 0;
    return application.Run();
}
