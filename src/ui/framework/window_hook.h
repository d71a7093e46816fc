#pragma once

#include <QObject>

class QWidget;

namespace tarnix {

class Window;

// Sits on a framework window's widget and hands its events to the window object, the way a
// window procedure receives a window's messages.
class WindowHook final : public QObject {
public:
    WindowHook(Window& window, QWidget& widget);
    ~WindowHook() override;

    // Stops listening to the widget; the hook is inert from then on.
    void detach();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Window& window_;
    QWidget* widget_;
};

}  // namespace tarnix
