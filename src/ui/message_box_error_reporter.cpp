#include "ui/message_box_error_reporter.h"

#include "ui/ui_log.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace tarnix {

bool hasInteractiveScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void MessageBoxErrorReporter::showError(std::string_view title, std::string_view text)
{
    const QString caption = QString::fromUtf8(title.data(), qsizetype(title.size()));
    const QString message = QString::fromUtf8(text.data(), qsizetype(text.size()));
    qCWarning(lcUi).noquote() << caption << ":" << message;
    // The box's own loop keeps the handset layer running, and the same failure may come again
    // while it is open: one box at a time.
    if (showing_ || !hasInteractiveScreen()) return;
    showing_ = true;
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok);
    box.exec();
    showing_ = false;
}

}  // namespace tarnix
