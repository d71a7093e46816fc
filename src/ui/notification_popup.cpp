#include "ui/notification_popup.h"

#include "ui/ui_log.h"

#include <qdrawutil.h>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace tarnix {
namespace {

// Distance of the panel from the right and bottom edges of the available area.
constexpr int kRightMargin = 10;
constexpr int kBottomMargin = 35;

}  // namespace

NotificationPopup::NotificationPopup(EventLoop& loop) : Window(loop), loop_(loop) {}

void NotificationPopup::CreatePopup()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const int width = PopupWidth();
    const int height = PopupHeight();
    home_ = QPoint(area.x() + area.width() - width - kRightMargin,
                   area.y() + area.height() - height - kBottomMargin);
    if (!Create(WS_EX_TOOLWINDOW, QString(), QString(), WS_POPUP, home_.x(), home_.y(), width, height,
                nullptr, 0)) {
        qCWarning(lcUi) << "cannot create a pop-up panel";
        return;
    }
    state_ = State::Hidden;
    SetTimer(TIMER_POPUP, kPopupPeriodMs);
}

void NotificationPopup::ClosePopup()
{
    DestroyWindow();
    state_ = State::Hidden;
}

void NotificationPopup::ShowPopup()
{
    if (!Handle()) CreatePopup();
    if (!Handle()) return;
    if (!IsShown()) {
        if (!PrepareToShow()) return;
        StartSlide(State::SlidingIn);
    }
    Handle()->raise();
    Handle()->activateWindow();
    activity_ = true;
}

bool NotificationPopup::IsShown() const
{
    return Handle() && (state_ == State::SlidingIn || state_ == State::Shown);
}

QRect NotificationPopup::CloseBoxRect() const
{
    const int right = PopupWidth();
    return QRect(QPoint(right - 20, 5), QPoint(right - 5 - 1, 20 - 1));
}

void NotificationPopup::OnDraw(QPainter& dc)
{
    DrawFace(dc);
    DrawCloseBox(dc);
}

void NotificationPopup::DrawFace(QPainter& dc) const
{
    if (!Handle()) return;
    qDrawWinButton(&dc, QRect(0, 0, PopupWidth(), PopupHeight()), Handle()->palette(), false);
}

void NotificationPopup::DrawCloseBox(QPainter& dc) const
{
    if (!Handle()) return;
    const QRect box = CloseBoxRect();
    const QPalette& palette = Handle()->palette();
    qDrawWinButton(&dc, box, palette, false, &palette.brush(QPalette::Button));
    dc.save();
    dc.setPen(QPen(palette.color(QPalette::ButtonText), 1.5));
    const QRect cross = box.adjusted(4, 4, -4, -4);
    dc.drawLine(cross.topLeft(), cross.bottomRight());
    dc.drawLine(cross.topRight(), cross.bottomLeft());
    dc.restore();
}

void NotificationPopup::OnLButtonDown(int x, int y, unsigned)
{
    activity_ = true;
    if (CloseBoxRect().contains(x, y)) ClosePopup();
}

void NotificationPopup::OnLButtonUp(int, int, unsigned)
{
    activity_ = true;
}

void NotificationPopup::OnMouseMove(int, int, unsigned)
{
    activity_ = true;
}

LRESULT NotificationPopup::OnCommand(WPARAM, QWidget*)
{
    return 0;
}

void NotificationPopup::OnTimer(int id)
{
    if (id == TIMER_SLIDE) {
        StepSlide();
        return;
    }
    if (id != TIMER_POPUP) {
        Window::OnTimer(id);
        return;
    }
    if (!IsShown()) return;
    const std::int64_t now = loop_.nowMs();
    const bool hovered = Handle()->frameGeometry().contains(QCursor::pos());
    if (activity_ || hovered) {
        deadlineMs_ = now + kIdleMs;
        activity_ = false;
        return;
    }
    // A quiet tick hides the panel only once the deadline has passed, so that it stays for
    // the idle time after the last touch or hover.
    if (now >= deadlineMs_) StartSlide(State::SlidingOut);
}

void NotificationPopup::StartSlide(State state)
{
    // A slide that reverses another starts from wherever that one had got to.
    slideStartRows_ = state_ == State::Hidden ? 0 : VisibleRows();
    slideStartMs_ = loop_.nowMs();
    state_ = state;
    if (state == State::SlidingIn) Handle()->show();
    ShowRows(VisibleRows());
    SetTimer(TIMER_SLIDE, kSlideFrameMs);
}

void NotificationPopup::StepSlide()
{
    const int rows = VisibleRows();
    if (state_ == State::SlidingIn && rows >= PopupHeight()) {
        KillTimer(TIMER_SLIDE);
        state_ = State::Shown;
        ShowRows(rows);
        return;
    }
    if (state_ == State::SlidingOut && rows <= 0) {
        KillTimer(TIMER_SLIDE);
        ClosePopup();
        return;
    }
    ShowRows(rows);
}

int NotificationPopup::VisibleRows() const
{
    const int height = PopupHeight();
    switch (state_) {
        case State::Hidden:
            return 0;
        case State::Shown:
            return height;
        case State::SlidingIn:
        case State::SlidingOut:
            break;
    }
    const auto moved = static_cast<int>((loop_.nowMs() - slideStartMs_) * height / kSlideMs);
    const int rows = state_ == State::SlidingIn ? slideStartRows_ + moved : slideStartRows_ - moved;
    return std::clamp(rows, 0, height);
}

void NotificationPopup::ShowRows(int rows)
{
    // The panel rises from (or sinks behind) the line of its bottom edge: the window keeps its
    // top rows and stands just above that line. Resizing rather than masking works on every
    // platform, and the face is drawn for the full size, so the cut shows no edge.
    const int height = PopupHeight();
    const int showing = std::max(rows, 1);
    Handle()->setGeometry(home_.x(), home_.y() + height - showing, PopupWidth(), showing);
}

void NotificationPopup::HidePanel()
{
    KillTimer(TIMER_SLIDE);
    state_ = State::Hidden;
    if (!Handle()) return;
    Handle()->hide();
    Handle()->setGeometry(QRect(home_, QSize(PopupWidth(), PopupHeight())));
}

}  // namespace tarnix
