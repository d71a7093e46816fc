#include "private_pulse.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <cstdlib>

namespace tarnix {

PrivatePulse::PrivatePulse(const QString& modules)
{
    ensureQtApplication();
    if (!home_.isValid()) return;
    const QString socket = home_.filePath("native");
    QFile script(home_.filePath("server.pa"));
    if (!script.open(QIODevice::WriteOnly)) return;
    // The socket comes last, once every device is there.
    script.write(
        (modules + "\nload-module module-native-protocol-unix socket=" + socket + " auth-anonymous=1\n")
            .toUtf8());
    script.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home_.path());
    env.insert("XDG_RUNTIME_DIR", home_.path());
    env.insert("PULSE_RUNTIME_PATH", home_.filePath("runtime"));
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("DISPLAY");
    server_ = std::make_unique<ChildProcess>(
        "pulseaudio",
        QStringList{"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-target=stderr",
                    "--log-level=error", "-F", script.fileName()},
        env);
    if (!server_->started()) return;
    address_ = "unix:" + socket;
    ::setenv("PULSE_SERVER", address_.toUtf8().constData(), 1);
    // The socket may exist a moment before the server listens on it.
    const QDeadlineTimer deadline(5000);
    while (!(ready_ = pactl({"info"})) && !deadline.hasExpired()) QThread::msleep(20);
}

PrivatePulse::~PrivatePulse()
{
    ::unsetenv("PULSE_SERVER");
}

bool PrivatePulse::pactl(const QStringList& arguments) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", address_);
    process.setProcessEnvironment(env);
    process.start("pactl", arguments);
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

}  // namespace tarnix
