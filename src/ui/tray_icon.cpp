#include "ui/tray_icon.h"

#include "ui/framework/window.h"
#include "ui/ui_log.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace tarnix {
namespace {

// A handset lying on its side, earpiece left, mouthpiece right, in a box of size s.
QPainterPath handsetPath(qreal s)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0.10 * s, 0.30 * s, 0.80 * s, 0.16 * s), 0.08 * s, 0.08 * s);
    path.addRoundedRect(QRectF(0.06 * s, 0.36 * s, 0.24 * s, 0.30 * s), 0.08 * s, 0.08 * s);
    path.addRoundedRect(QRectF(0.70 * s, 0.36 * s, 0.24 * s, 0.30 * s), 0.08 * s, 0.08 * s);
    path.setFillRule(Qt::WindingFill);
    return path.simplified();
}

QPixmap drawPixmap(int iconId, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    QColor body(0x2e, 0x7d, 0x32);  // ready: green
    if (iconId == TrayIconId::NoHandset) body = QColor(0x75, 0x75, 0x75);
    if (iconId == TrayIconId::NoMessenger) body = QColor(0x1e, 0x63, 0xb4);
    painter.setPen(QPen(body.darker(150), qMax(1.0, s / 24)));
    painter.setBrush(body);
    painter.drawPath(handsetPath(s));

    if (iconId == TrayIconId::NoHandset) {
        // A red cross: the handset is not plugged in.
        painter.setPen(QPen(QColor(0xd3, 0x2f, 0x2f), qMax(2.0, s / 8), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0.55 * s, 0.60 * s), QPointF(0.90 * s, 0.95 * s));
        painter.drawLine(QPointF(0.90 * s, 0.60 * s), QPointF(0.55 * s, 0.95 * s));
    } else if (iconId == TrayIconId::NoMessenger) {
        // A hollow amber dot: the handset waits for its messenger.
        painter.setPen(QPen(QColor(0xef, 0x8f, 0x00), qMax(2.0, s / 10)));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(0.58 * s, 0.60 * s, 0.32 * s, 0.32 * s));
    } else if (iconId == TrayIconId::Ready) {
        // Sound waves over the earpiece: ready for calls.
        painter.setPen(QPen(body, qMax(1.5, s / 14), Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        for (qreal r : {0.18, 0.32}) {
            const QRectF arc(0.50 * s - r * s, 0.30 * s - r * s, 2 * r * s, 2 * r * s);
            painter.drawArc(arc, 45 * 16, 90 * 16);
        }
    }
    return pixmap;
}

// The tray picture of a TrayIconId, drawn rather than loaded; an unknown id gives the plain
// handset.
QIcon drawTrayIcon(int iconId)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(drawPixmap(iconId, size));
    return icon;
}

}  // namespace

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
    QIcon drawn = drawTrayIcon(iconId);
    if (cache_.size() < kIconCacheSize) cache_.emplace(iconId, drawn);
    return drawn;
}

}  // namespace tarnix
