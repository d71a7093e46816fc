#include "platform/linux/desktop/xdg_desktop.h"
#include "program/application.h"

#include <QApplication>

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
    const bool platformChosen = chooseQtPlatform();
    QApplication qtApplication(argc, argv);
    // Not passed on to the programs we start.
    if (platformChosen) qunsetenv("QT_QPA_PLATFORM");
    qtApplication.setQuitOnLastWindowClosed(false);

    tarnix::XdgDesktop desktop = tarnix::XdgDesktop::forThisProcess();
    tarnix::Application application(desktop);
    if (!application.Initialise()) return 0;
    return application.Run();
}
