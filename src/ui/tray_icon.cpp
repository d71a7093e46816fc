#include "ui/tray_icon.h"

#include "ui/framework/window.h"
#include "ui/program_icons.h"
#include "ui/ui_log.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace tarnix {

TrayIcon::TrayIcon(Window& owner, std::unique_ptr<QMenu> menu, int iconId, const QString& tip)
    : owner_(owner), menu_(std::move(menu)), tray_(std::make_unique<QSystemTrayIcon>())
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCInfo(lcUi, "no system tray: the tray icon appears when a tray host starts");
    }
    tray_->setContextMenu(menu_.get());
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::DoubleClick) {
                             owner_.PostMessage(WM_COMMAND, MAKEWPARAM(kDoubleClickCommand, 0), 0);
                         }
                     });
    ShowIcon(iconId, tip);
    tray_->show();
}

TrayIcon::~TrayIcon()
{
    tray_->hide();
    tray_->setContextMenu(nullptr);
}

void TrayIcon::ShowIcon(int iconId, const QString& tip)
{
    iconId_ = iconId;
    tray_->setIcon(icon(iconId));
    tray_->setToolTip(tip);
}

QString TrayIcon::tip() const
{
    return tray_->toolTip();
}

QIcon TrayIcon::icon(int iconId)
{
    if (auto it = cache_.find(iconId); it != cache_.end()) return it->second;
    QIcon drawn = trayPicture(iconId);
    if (cache_.size() < kIconCacheSize) cache_.emplace(iconId, drawn);
    return drawn;
}

}  // namespace tarnix
