#pragma once

#include "ui/framework/window.h"

namespace tarnix {

// A slider with positions 0..100, made or taken over by the framework. Moving it sends
// WM_HSCROLL or WM_VSCROLL to the window that contains it. A vertical slider has 0 at the top.
class SliderControl : public Window {
public:
    explicit SliderControl(EventLoop& loop);

    using Window::Create;
    // Visible, a tab stop, without tick marks, range 0..100, page size 5, at 0.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height, bool vertical);

    // The position clamped to 0..100; 0 without a slider.
    int GetPosition() const;
    // Clamps to 0..100 and redraws. Sends no scroll message.
    void SetPosition(int position);

    // The slider paints itself, whatever the window's default.
    LRESULT OnPaint() override;
};

}  // namespace tarnix
