#include "program_session.h"

#include <QFile>

namespace tarnix::test {

ProgramSession::ProgramSession(const QString& executable, const QString& localeFile)
    : env_(QProcessEnvironment::systemEnvironment()),
      executable_(QString::fromStdString(folder_.file("tarnix-usbphone")))
{
    ready_ = runtime_.isValid() && QFile::copy(executable, executable_) &&
             QFile::copy(localeFile, QString::fromStdString(folder_.file("locale.xml")));
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM"}) {
        env_.remove(name);
    }
    env_.insert("XDG_RUNTIME_DIR", runtime_.path());
    env_.insert("XDG_CONFIG_HOME", runtime_.filePath("config"));
}

std::unique_ptr<ProgramCopy> ProgramSession::start(const QStringList& arguments) const
{
    return std::make_unique<ProgramCopy>(executable_, env_, arguments);
}

}  // namespace tarnix::test
