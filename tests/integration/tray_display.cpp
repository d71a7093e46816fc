#include "tray_display.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace tarnix::test {
namespace {

int indentation(const QString& line)
{
    int n = 0;
    while (n < line.size() && line.at(n) == u' ') ++n;
    return n;
}

}  // namespace

TrayDisplay::TrayDisplay()
{
    server_ = std::make_unique<ChildProcess>(
        "Xvfb", QStringList{"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
    const std::string number = server_->readLine();
    if (!number.empty()) name_ = QStringLiteral(":%1").arg(QString::fromStdString(number));
}

bool TrayDisplay::startTrayHost()
{
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    trayHost_ =
        std::make_unique<ChildProcess>("trayer", QStringList{"--edge", "top", "--widthtype", "request"}, env);
    // Up once its panel window exists.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        if (tree().contains(QStringLiteral("(\"panel\" \"trayer\")"))) return true;
        QThread::msleep(20);
    }
    return false;
}

bool TrayDisplay::embedded(const QString& windowClass) const
{
    // In the window tree every child is indented further than its parent.
    const QStringList lines = tree().split(u'\n');
    const QString classHint = QStringLiteral("(\"%1\" ").arg(windowClass);
    int panelDepth = -1;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) continue;
        const int depth = indentation(line);
        if (panelDepth >= 0 && depth <= panelDepth) panelDepth = -1;
        if (line.contains(QStringLiteral("(\"panel\" \"trayer\")"))) {
            panelDepth = depth;
        } else if (panelDepth >= 0 && line.contains(classHint)) {
            return true;
        }
    }
    return false;
}

QString TrayDisplay::tree() const
{
    QProcess xwininfo;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    xwininfo.setProcessEnvironment(env);
    xwininfo.start("xwininfo", {"-root", "-tree"});
    xwininfo.waitForFinished(5000);
    return QString::fromUtf8(xwininfo.readAllStandardOutput());
}

}  // namespace tarnix::test
