#include "tray_display.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
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
    trayHost_ = std::make_unique<ChildProcess>(
        "trayer", QStringList{"--edge", "top", "--widthtype", "request"}, environment());
    // Up once its panel window exists.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        if (tree().contains(QStringLiteral("(\"panel\" \"trayer\")"))) return true;
        QThread::msleep(20);
    }
    return false;
}

std::optional<QPoint> TrayDisplay::trayIconAt(const QString& windowClass) const
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
            // The line ends with the absolute position: "22x24+0+0  +501+1".
            static const QRegularExpression absolute(QStringLiteral("\\+(-?\\d+)\\+(-?\\d+)\\s*$"));
            const QRegularExpressionMatch match = absolute.match(line);
            if (match.hasMatch()) return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
        }
    }
    return std::nullopt;
}

bool TrayDisplay::hasWindow(const QString& title) const
{
    return tree().contains(QStringLiteral("\"%1\": (").arg(title));
}

bool TrayDisplay::xdotool(const QStringList& arguments) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start("xdotool", arguments);
    return tool.waitForFinished(5000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QProcessEnvironment TrayDisplay::environment() const
{
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    return env;
}

QString TrayDisplay::tree() const
{
    QProcess xwininfo;
    xwininfo.setProcessEnvironment(environment());
    xwininfo.start("xwininfo", {"-root", "-tree"});
    xwininfo.waitForFinished(5000);
    return QString::fromUtf8(xwininfo.readAllStandardOutput());
}

}  // namespace tarnix::test
