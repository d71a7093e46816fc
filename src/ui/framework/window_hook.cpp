#include "ui/framework/window_hook.h"

#include "ui/framework/window.h"

#include <QWidget>

namespace tarnix {

WindowHook::WindowHook(Window& window, QWidget& widget) : window_(window), widget_(&widget)
{
    widget.installEventFilter(this);
    // A widget may go with its parent without DestroyWindow: the object still hears of it.
    connect(&widget, &QObject::destroyed, this, [this] {
        widget_ = nullptr;
        window_.HandleWidgetGone();
    });
}

WindowHook::~WindowHook()
{
    detach();
}

void WindowHook::detach()
{
    if (!widget_) return;
    widget_->removeEventFilter(this);
    disconnect(widget_, nullptr, this, nullptr);
    widget_ = nullptr;
}

bool WindowHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_) return false;
    return window_.HandleEvent(*event);
}

}  // namespace tarnix
