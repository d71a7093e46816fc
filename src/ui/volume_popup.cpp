#include "ui/volume_popup.h"

#include "device/handset_channel.h"
#include "device/handset_codes.h"
#include "ui/ui_log.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace tarnix {
namespace {

const QColor kCaptionColour(0, 0, 192);
constexpr QPoint kCaptionAt(5, 5);
constexpr qreal kSmallestCaptionPt = 6;

}  // namespace

VolumePopup::VolumePopup(EventLoop& loop, HandsetChannel& handset, MixerPort& mixers)
    : NotificationPopup(loop), handset_(handset), mixer_(mixers), slider_(loop)
{
}

bool VolumePopup::HandsetHasVolumeControl() const
{
    const int volumeControl = handset_.HandsetProperty(PropVolume);
    if (volumeControl == 0 || volumeControl == -1) {
        qCDebug(lcUi) << "no volume panel: the handset has no volume control";
        return false;
    }
    return true;
}

void VolumePopup::CreatePopup()
{
    if (!HandsetHasVolumeControl()) return;
    NotificationPopup::CreatePopup();
    if (!Handle()) return;
    slider_.Create(Handle(), kSliderId, 20, 20, 20, PopupHeight() - 25, true);
}

bool VolumePopup::PrepareToShow()
{
    if (!HandsetHasVolumeControl()) {
        // The keys must not go on stepping the mixer of a handset that is gone.
        mixer_.closeMixer();
        return false;
    }
    mixer_.openHandsetMixer();
    SyncSlider();
    return true;
}

void VolumePopup::ClosePopup()
{
    HidePanel();
}

void VolumePopup::OnDraw(QPainter& dc)
{
    DrawFace(dc);
    dc.save();
    const QString caption = QStringLiteral("Speaker");
    // Desktop fonts are often wider than the panel was laid out for: the caption shrinks until it
    // ends before the close box rather than running under it.
    QFont font = QApplication::font();
    const int room = CloseBoxRect().left() - kCaptionAt.x() - 1;
    while (QFontMetrics(font).horizontalAdvance(caption) > room && font.pointSizeF() > kSmallestCaptionPt) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    dc.setFont(font);
    dc.setPen(kCaptionColour);
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.drawText(QRect(kCaptionAt, QSize(room, PopupHeight())), Qt::AlignLeft | Qt::AlignTop, caption);
    dc.restore();
    DrawCloseBox(dc);
}

void VolumePopup::OnVScroll(int code, int position, QWidget* control)
{
    if (control && control == slider_.Handle()) {
        SetVolumeFromSlider();
        return;
    }
    NotificationPopup::OnVScroll(code, position, control);
}

void VolumePopup::OnHScroll(int code, int position, QWidget* control)
{
    if (control && control == slider_.Handle()) {
        SetVolumeFromSlider();
        return;
    }
    NotificationPopup::OnHScroll(code, position, control);
}

void VolumePopup::OnTimer(int id)
{
    // The volume may have been changed elsewhere meanwhile.
    if (id == TIMER_POPUP) SyncSlider();
    NotificationPopup::OnTimer(id);
}

void VolumePopup::VolumeUp()
{
    StepVolume(+1);
}

void VolumePopup::VolumeDown()
{
    StepVolume(-1);
}

void VolumePopup::StepVolume(int direction)
{
    std::uint32_t volume = 0;
    mixer_.getVolume(MixerSpeakers, volume);
    volume =
        direction > 0 ? std::min(volume + kVolumeStep, kMaxVolume) : volume - std::min(volume, kVolumeStep);
    mixer_.setVolume(MixerSpeakers, volume);
    SyncSlider();
}

void VolumePopup::SyncSlider()
{
    std::uint32_t volume = 0;
    if (mixer_.getVolume(MixerSpeakers, volume) == 0) {
        slider_.SetPosition(kUnknownPosition);
        return;
    }
    slider_.SetPosition(100 - static_cast<int>(volume * 100 / kMaxVolume));
}

void VolumePopup::SetVolumeFromSlider()
{
    const auto level = static_cast<std::uint32_t>(100 - slider_.GetPosition());
    // Rounded to the nearest step of the mixer's scale.
    mixer_.setVolume(MixerSpeakers, (level * kMaxVolume + 50) / 100);
}

}  // namespace tarnix
