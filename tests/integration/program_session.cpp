#include "program_session.h"

#include <QFile>

namespace tarnix::test {

ProgramSession::ProgramSession(const QString& executable, const QString& localeFile)
    : env_(QProcessEnvironment::systemEnvironment()), executable_(executable)
{
    ready_ = runtime_.isValid();
    if (!localeFile.isEmpty()) {
        executable_ = QString::fromStdString(folder_.file("tarnix-usbphone"));
        ready_ = ready_ && QFile::copy(executable, executable_) &&
                 QFile::copy(localeFile, QString::fromStdString(folder_.file("locale.xml")));
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "JOURNAL_STREAM"}) {
        env_.remove(name);
    }
    // Without an address and with a display, libdbus would launch a bus of its own on that display.
    env_.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    const QString home = QString::fromStdString(home_.path()).chopped(1);
    env_.insert("HOME", home);
    env_.insert("XDG_CONFIG_HOME", home + "/.config");
    env_.insert("XDG_DATA_HOME", home + "/.local/share");
    env_.insert("XDG_CACHE_HOME", home + "/.cache");
    env_.insert("XDG_RUNTIME_DIR", runtime_.path());
}

std::unique_ptr<ProgramCopy> ProgramSession::start(const QStringList& arguments) const
{
    return std::make_unique<ProgramCopy>(executable_, env_, arguments);
}

}  // namespace tarnix::test
