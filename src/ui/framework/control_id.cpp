#include "ui/framework/control_id.h"

#include "ui/framework/window.h"
#include "ui/framework/window_constants.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QWidget>

namespace tarnix {
namespace {

void notifyOwner(QWidget& control, unsigned message, WPARAM wparam)
{
    for (QWidget* p = control.parentWidget(); p; p = p->parentWidget()) {
        if (Window* owner = Window::FromHandle(p)) {
            owner->SendMessage(message, wparam, reinterpret_cast<LPARAM>(&control));
            return;
        }
    }
}

int scrollCode(int action)
{
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            return SB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub:
            return SB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return SB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return SB_PAGEUP;
        case QAbstractSlider::SliderToMinimum:
            return SB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return SB_BOTTOM;
        case QAbstractSlider::SliderMove:
            return SB_THUMBTRACK;
        default:
            return -1;
    }
}

void wireSlider(QAbstractSlider& slider)
{
    auto send = [&slider](int code, int position) {
        const unsigned message = slider.orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
        notifyOwner(slider, message,
                    MAKEWPARAM(static_cast<unsigned>(code), static_cast<unsigned>(position)));
    };
    // The position has moved when the action is reported; only thumb codes carry it, and every
    // step but a drag is followed by the end code, as a trackbar reports them.
    QObject::connect(&slider, &QAbstractSlider::actionTriggered, &slider, [&slider, send](int action) {
        const int code = scrollCode(action);
        if (code < 0) return;
        if (code == SB_THUMBTRACK) {
            send(code, slider.sliderPosition());
            return;
        }
        send(code, 0);
        send(SB_ENDSCROLL, 0);
    });
    QObject::connect(&slider, &QAbstractSlider::sliderReleased, &slider, [&slider, send] {
        send(SB_THUMBPOSITION, slider.sliderPosition());
        send(SB_ENDSCROLL, 0);
    });
}

}  // namespace

void setControlId(QWidget& control, int id)
{
    const bool wired = control.property(kControlIdProperty).isValid();
    control.setProperty(kControlIdProperty, id);
    if (wired) return;
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        QObject::connect(button, &QAbstractButton::clicked, button, [button] {
            notifyOwner(
                *button, WM_COMMAND,
                MAKEWPARAM(static_cast<unsigned>(controlId(*button)), static_cast<unsigned>(BN_CLICKED)));
        });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(&control)) {
        wireSlider(*slider);
    }
}

int controlId(const QObject& control)
{
    return control.property(kControlIdProperty).toInt();
}

QWidget* findControl(const QWidget& parent, int id)
{
    const auto children = parent.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->property(kControlIdProperty).isValid() && controlId(*child) == id) return child;
    }
    return nullptr;
}

}  // namespace tarnix
