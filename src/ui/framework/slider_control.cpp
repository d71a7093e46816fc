#include "ui/framework/slider_control.h"

#include <QSlider>

#include <algorithm>

namespace tarnix {
namespace {

constexpr char kSliderClass[] = "msctls_trackbar32";
constexpr int kMinimum = 0;
constexpr int kMaximum = 100;
constexpr int kPageSize = 5;

}  // namespace

SliderControl::SliderControl(EventLoop& loop) : Window(loop) {}

bool SliderControl::Create(QWidget* parent, int id, int x, int y, int width, int height, bool vertical)
{
    if (!Window::Create(0, QString::fromLatin1(kSliderClass), QString(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        x, y, width, height, parent, id)) {
        return false;
    }
    auto* slider = qobject_cast<QSlider*>(Handle());
    slider->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    // Qt puts a vertical slider's minimum at the bottom; the system's sliders have it at the
    // top, and the Down key moves towards the bottom.
    slider->setInvertedAppearance(vertical);
    slider->setInvertedControls(vertical);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setRange(kMinimum, kMaximum);
    slider->setPageStep(kPageSize);
    slider->setValue(kMinimum);
    return true;
}

int SliderControl::GetPosition() const
{
    const auto* slider = qobject_cast<const QAbstractSlider*>(Handle());
    if (!slider) return 0;
    // The position, not the value: during a move the value catches up only after the scroll
    // message has gone out.
    return std::clamp(slider->sliderPosition(), kMinimum, kMaximum);
}

void SliderControl::SetPosition(int position)
{
    auto* slider = qobject_cast<QAbstractSlider*>(Handle());
    if (!slider) return;
    slider->setValue(std::clamp(position, kMinimum, kMaximum));
    slider->update();
}

LRESULT SliderControl::OnPaint()
{
    return DefaultProc(WM_PAINT, 0, 0);
}

}  // namespace tarnix
