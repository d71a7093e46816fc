#include "ui/framework/window.h"

#include "ui/framework/control_id.h"
#include "ui/framework/framework_log.h"
#include "ui/framework/localise.h"
#include "ui/framework/message_translation.h"
#include "ui/framework/window_class.h"
#include "ui/framework/window_hook.h"
#include "ui/framework/window_text.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace tarnix {
namespace {

constexpr char kWindowProperty[] = "frameworkWindow";

// How many messages are being handled right now; a widget is not deleted under a running handler.
int g_dispatchDepth = 0;

// The framework window that last received a mouse move, process-wide.
QPointer<QWidget>& lastUnderMouse()
{
    static QPointer<QWidget> widget;
    return widget;
}

Qt::WindowFlags topLevelFlags(unsigned style, unsigned exStyle)
{
    Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION) flags |= Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

void applyClass(QWidget& widget, const WindowClass& cls)
{
    if (cls.cursor) widget.setCursor(*cls.cursor);
    if (cls.background) {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, *cls.background);
        widget.setPalette(palette);
    }
    // Without the redraw styles a resize repaints only what it uncovers.
    widget.setAttribute(Qt::WA_StaticContents, (cls.style & (CS_HREDRAW | CS_VREDRAW)) == 0);
}

void deleteWidget(QWidget* widget)
{
    if (g_dispatchDepth > 0) {
        widget->deleteLater();
        return;
    }
    std::unique_ptr<QWidget> owned(widget);
}

}  // namespace

// The Qt event whose messages are being handled, and whether the last of them reached the
// default handling (so Qt should do its own).
struct Window::EventFrame {
    const QEvent* event;
    unsigned message;
    bool passOn;
    EventFrame* outer;
};

Window::Window(EventLoop& loop) : loop_(loop) {}

Window::~Window()
{
    // Whatever procedure a derived class installed is gone with it.
    SetProcedure(&Window::WindowProc);
    // A taken-over widget belongs to whoever made it (a dialog, or the stack): it is only let go.
    if (!takenOver_) DestroyWindow();
    Unhook();
    *alive_ = false;
}

bool Window::Create(unsigned exStyle, const QString& className, const QString& title, unsigned style, int x,
                    int y, int width, int height, QWidget* parent, int menuOrId)
{
    if (handle_) return false;
    CreateParams params{exStyle, className, title, style, x, y, width, height, parent, menuOrId};
    if (!PreCreate(params)) {
        OnCreateFailed();
        return false;
    }
    std::unique_ptr<QWidget> widget = createSystemControl(params.className);
    const bool system = widget != nullptr;
    std::optional<WindowClass> cls;
    if (!system) {
        cls = findWindowClass(params.className);
        if (!cls) {
            qCWarning(lcUiFramework) << "cannot create a window of the unknown class" << params.className;
            return false;
        }
        widget = std::make_unique<QWidget>();
        setClassNameOf(*widget, params.className);
        applyClass(*widget, *cls);
    }
    const bool child = (params.style & WS_CHILD) && params.parent;
    if (child) {
        widget->setParent(params.parent);
        widget->setGeometry(params.x, params.y, params.width, params.height);
        setControlId(*widget, params.menuOrId);
    } else {
        widget->setParent(params.parent, topLevelFlags(params.style, params.exStyle));
        widget->move(params.x, params.y);
        widget->resize(params.width, params.height);
    }
    setWindowText(*widget, params.title);
    if (params.style & WS_TABSTOP) {
        widget->setFocusPolicy(Qt::StrongFocus);
    } else if (!system) {
        widget->setFocusPolicy(Qt::ClickFocus);
    }

    QWidget* raw = widget.release();  // from here the parent or DestroyWindow deletes it
    if (system) {
        // A control handles its own creation; the object takes it over afterwards, and owns it.
        Hook(raw, false, true);
    } else {
        Adopt(raw, (cls->style & CS_DBLCLKS) != 0);
        creating_ = &params;
        const LRESULT created = SendMessage(WM_CREATE, 0, 0);
        creating_ = nullptr;
        if (created == -1) {
            DestroyWindow();
            return false;
        }
    }
    if (handle_ && (params.style & WS_VISIBLE)) handle_->show();
    return handle_ != nullptr;
}

bool Window::PreCreate(CreateParams& params)
{
    static const QString defaultClass =
        registerWindowClass(QString::fromLatin1(kDefaultClassName), defaultWindowClass());
    if (params.className.isEmpty()) params.className = defaultClass;
    return true;
}

void Window::ApplyLanguage()
{
    if (handle_ && texts_) LocaliseControls(*handle_, *texts_);
}

LRESULT Window::DefaultProc(unsigned message, WPARAM, LPARAM)
{
    return WidgetDefault(message);
}

LRESULT Window::OnCreate(const CreateParams&)
{
    return DefaultProc(WM_CREATE, 0, 0);
}

void Window::OnSize(int type, int width, int height)
{
    DefaultProc(WM_SIZE, static_cast<WPARAM>(type),
                MAKELPARAM(static_cast<unsigned>(width), static_cast<unsigned>(height)));
}

void Window::OnDestroy()
{
    DefaultProc(WM_DESTROY, 0, 0);
    Unhook();
}

void Window::OnDraw(QPainter&) {}

void Window::OnLButtonDown(int x, int y, unsigned keyFlags)
{
    DefaultProc(WM_LBUTTONDOWN, keyFlags, MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y)));
}

void Window::OnLButtonUp(int x, int y, unsigned keyFlags)
{
    DefaultProc(WM_LBUTTONUP, keyFlags, MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y)));
}

void Window::OnLButtonDblClk(unsigned x, unsigned y, unsigned keyFlags)
{
    DefaultProc(WM_LBUTTONDBLCLK, keyFlags, MAKELPARAM(x, y));
}

void Window::OnMouseMove(int x, int y, unsigned keyFlags)
{
    DefaultProc(WM_MOUSEMOVE, keyFlags, MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y)));
}

void Window::OnVScroll(int code, int position, QWidget* control)
{
    DefaultProc(WM_VSCROLL, MAKEWPARAM(static_cast<unsigned>(code), static_cast<unsigned>(position)),
                reinterpret_cast<LPARAM>(control));
}

void Window::OnHScroll(int code, int position, QWidget* control)
{
    DefaultProc(WM_HSCROLL, MAKEWPARAM(static_cast<unsigned>(code), static_cast<unsigned>(position)),
                reinterpret_cast<LPARAM>(control));
}

void Window::OnKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    DefaultProc(WM_KEYDOWN, key, MAKELPARAM(repeatCount, flags));
}

void Window::OnKeyUp(unsigned key, unsigned repeatCount, unsigned flags)
{
    DefaultProc(WM_KEYUP, key, MAKELPARAM(repeatCount, flags));
}

void Window::OnChar(unsigned character, unsigned repeatCount, unsigned flags)
{
    DefaultProc(WM_CHAR, character, MAKELPARAM(repeatCount, flags));
}

LRESULT Window::OnCommand(WPARAM wparam, QWidget* control)
{
    return DefaultProc(WM_COMMAND, wparam, reinterpret_cast<LPARAM>(control));
}

LRESULT Window::OnPaint()
{
    if (!handle_) return 0;
    if (!frame_ || frame_->event->type() != QEvent::Paint) {
        // Painting happens only inside Qt's paint event: ask for one.
        handle_->update();
        return 0;
    }
    // A control paints itself; the framework's painting is for windows of its own classes.
    if (controlPaintsItself_) return DefaultProc(WM_PAINT, 0, 0);
    if (doubleBuffered_ && backBuffer_.isNull()) ResizeBackBuffer();
    if (doubleBuffered_ && backBuffer_.isNull()) return 0;  // an empty window: nothing to paint
    QPainter painter(handle_.data());
    updateRect_ = static_cast<const QPaintEvent*>(frame_->event)->rect();
    if (doubleBuffered_) {
        QPainter memory(&backBuffer_);
        memory.fillRect(updateRect_, Qt::white);
        OnDraw(memory);
        memory.end();
        painter.drawPixmap(0, 0, backBuffer_);
    } else {
        OnDraw(painter);
    }
    updateRect_ = QRect();
    return 0;
}

void Window::OnTimer(int id)
{
    DefaultProc(WM_TIMER, static_cast<WPARAM>(id), 0);
}

void Window::OnMouseLeave() {}

void Window::OnCreateFailed() {}

bool Window::Attach(QWidget* widget)
{
    if (!widget || handle_ || FromHandle(widget)) return false;
    Hook(widget, true, true);
    return true;
}

void Window::Adopt(QWidget* widget, bool doubleClicks)
{
    Hook(widget, false, doubleClicks);
    controlPaintsItself_ = false;
    if (doubleBuffered_) {
        // The back buffer covers the whole window: erasing first would only flicker.
        widget->setAttribute(Qt::WA_OpaquePaintEvent);
        widget->setAutoFillBackground(false);
    } else {
        widget->setAutoFillBackground(true);
    }
}

void Window::Hook(QWidget* widget, bool takenOver, bool doubleClicks)
{
    RetireHook(false);
    handle_ = widget;
    takenOver_ = takenOver;
    doubleClicks_ = doubleClicks;
    controlPaintsItself_ = true;
    widget->setProperty(kWindowProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    widget->setMouseTracking(true);
    hook_ = std::make_unique<WindowHook>(*this, *widget);
}

void Window::Unhook()
{
    for (int id : timers_) loop_.stopTimer({this, id});
    timers_.clear();
    backBuffer_ = QPixmap();
    if (handle_) handle_->setProperty(kWindowProperty, QVariant());
    RetireHook(false);
    handle_ = nullptr;
    takenOver_ = false;
}

void Window::RetireHook(bool running)
{
    if (!hook_) return;
    hook_->detach();
    // A hook may be in the middle of handing over an event: then it is deleted once that is done.
    if (running || g_dispatchDepth > 0) {
        hook_.release()->deleteLater();
    } else {
        hook_.reset();
    }
}

void Window::ForgetForDestroy()
{
    if (!handle_) return;
    destroying_ = true;
    SendMessage(WM_DESTROY, 0, 0);
    Unhook();
    destroying_ = false;
}

void Window::DestroyWindow()
{
    if (!handle_ || destroying_) return;
    const QPointer<QWidget> widget = handle_;
    const auto alive = alive_;
    destroying_ = true;
    SendMessage(WM_DESTROY, 0, 0);
    if (widget) {
        const auto children = widget->findChildren<QWidget*>();
        for (QWidget* child : children) {
            Window* inner = FromHandle(child);
            if (inner && inner != this) inner->ForgetForDestroy();
        }
    }
    // OnDestroy may have deleted this very object (a window that owns itself).
    if (*alive) {
        Unhook();
        destroying_ = false;
    }
    if (widget) {
        widget->hide();
        deleteWidget(widget.data());
    }
}

void Window::HandleWidgetGone()
{
    if (destroying_) return;
    // The widget went with its parent: the object still learns it has no window any more. The
    // hook is running this very call, so it goes later.
    RetireHook(true);
    destroying_ = true;
    OnDestroy();
    Unhook();
    destroying_ = false;
}

Window* Window::FromHandle(const QWidget* widget)
{
    if (!widget) return nullptr;
    const QVariant v = widget->property(kWindowProperty);
    return v.isValid() ? reinterpret_cast<Window*>(v.value<quintptr>()) : nullptr;
}

QWidget* Window::GetDlgItem(int id) const
{
    return handle_ ? findControl(*handle_, id) : nullptr;
}

bool Window::SetForegroundWindow() const
{
    if (!handle_) return false;
    handle_->raise();
    handle_->activateWindow();
    return true;
}

void Window::EnableDlgItem(int id, bool enabled) const
{
    if (QWidget* control = GetDlgItem(id)) control->setEnabled(enabled);
}

bool Window::IsDlgItemEnabled(int id) const
{
    const QWidget* control = GetDlgItem(id);
    return control != nullptr && control->isEnabled();
}

LRESULT Window::SendMessage(unsigned message, WPARAM wparam, LPARAM lparam)
{
    if (!handle_) return 0;
    ++g_dispatchDepth;
    const LRESULT result = procedure_(*this, message, wparam, lparam);
    --g_dispatchDepth;
    return result;
}

bool Window::PostMessage(unsigned message, WPARAM wparam, LPARAM lparam)
{
    if (!handle_) return false;
    loop_.post([target = handle_, message, wparam, lparam] {
        if (Window* window = FromHandle(target.data())) window->SendMessage(message, wparam, lparam);
    });
    return true;
}

bool Window::SetTimer(int id, int periodMs)
{
    if (!handle_) return false;
    timers_.insert(id);
    loop_.startTimer({this, id}, periodMs, [this, id] { SendMessage(WM_TIMER, static_cast<WPARAM>(id), 0); });
    return true;
}

bool Window::KillTimer(int id)
{
    if (timers_.erase(id) == 0) return false;
    return loop_.stopTimer({this, id});
}

void Window::BindCommand(QAction& action, int id)
{
    action.setProperty(kControlIdProperty, id);
    QObject::connect(&action, &QAction::triggered, &context_,
                     [this, id] { SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), 0), 0); });
}

void Window::CenterWindow(const QWidget* other)
{
    if (!handle_) return;
    const QRect frame = handle_->frameGeometry();
    if (other && !other->isMinimized() && other->width() > 0 && other->height() > 0) {
        const QRect area = other->isWindow() ? other->frameGeometry()
                                             : QRect(other->mapToGlobal(QPoint(0, 0)), other->size());
        const QPoint centre((area.left() + area.left() + area.width()) / 2,
                            (area.top() + area.top() + area.height()) / 2);
        handle_->move(centre.x() - frame.width() / 2, centre.y() - frame.height() / 2);
        return;
    }
    const QScreen* screen = handle_->screen() ? handle_->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect();
    handle_->move(desktop.left() + (desktop.width() - frame.width()) / 2,
                  desktop.top() + (desktop.height() - frame.height()) / 2);
}

LRESULT Window::WindowProc(Window& window, unsigned message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_CREATE && window.creating_) return window.OnCreate(*window.creating_);
    LRESULT result = 0;
    if (window.RouteToHandler(message, wparam, lparam, result)) return result;
    return window.DefaultProc(message, wparam, lparam);
}

bool Window::RouteToHandler(unsigned message, WPARAM wparam, LPARAM lparam, LRESULT& result)
{
    result = 0;
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            return true;
        case WM_SIZE:
            if (doubleBuffered_) ResizeBackBuffer();
            OnSize(static_cast<int>(wparam), static_cast<int>(LOWORD(static_cast<std::uintptr_t>(lparam))),
                   static_cast<int>(HIWORD(static_cast<std::uintptr_t>(lparam))));
            return true;
        case WM_PAINT:
            result = OnPaint();
            return true;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR: {
            const unsigned repeat = LOWORD(static_cast<std::uintptr_t>(lparam));
            const unsigned flags = HIWORD(static_cast<std::uintptr_t>(lparam));
            const auto key = static_cast<unsigned>(wparam);
            if (message == WM_KEYDOWN) OnKeyDown(key, repeat, flags);
            if (message == WM_KEYUP) OnKeyUp(key, repeat, flags);
            if (message == WM_CHAR) OnChar(key, repeat, flags);
            return true;
        }
        case WM_COMMAND:
            result = OnCommand(wparam, ChildFromParam(lparam));
            return true;
        case WM_TIMER:
            OnTimer(static_cast<int>(wparam));
            return true;
        case WM_HSCROLL:
            OnHScroll(static_cast<int>(LOWORD(wparam)), static_cast<int>(HIWORD(wparam)),
                      ChildFromParam(lparam));
            return true;
        case WM_VSCROLL:
            OnVScroll(static_cast<int>(LOWORD(wparam)), static_cast<int>(HIWORD(wparam)),
                      ChildFromParam(lparam));
            return true;
        case WM_MOUSEMOVE:
            TrackMouseLeave();
            OnMouseMove(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), static_cast<unsigned>(wparam));
            return true;
        case WM_LBUTTONDOWN:
            OnLButtonDown(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), static_cast<unsigned>(wparam));
            return true;
        case WM_LBUTTONUP:
            OnLButtonUp(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), static_cast<unsigned>(wparam));
            return true;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk(LOWORD(static_cast<std::uintptr_t>(lparam)),
                            HIWORD(static_cast<std::uintptr_t>(lparam)), static_cast<unsigned>(wparam));
            return true;
        case MSG_MOUSE_LEFT:
            OnMouseLeave();
            return true;
        default:
            return false;
    }
}

LRESULT Window::WidgetDefault(unsigned message)
{
    if (frame_ && frame_->message == message) {
        frame_->passOn = true;
        return 0;
    }
    if (message == WM_CLOSE && handle_) {
        // A dialog treats closing as Cancel and leaves the ending to its command handler.
        if (qobject_cast<QDialog*>(handle_.data())) {
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        } else {
            DestroyWindow();
        }
    }
    return 0;
}

bool Window::HandleEvent(QEvent& event)
{
    if (!handle_) return false;
    if (event.type() == QEvent::Close) {
        // Whether a window closes is the window's decision, made on WM_CLOSE.
        event.ignore();
        SendMessage(WM_CLOSE, 0, 0);
        return true;
    }
    const std::vector<Message> messages = messagesFromEvent(*handle_, event, doubleClicks_);
    if (messages.empty()) return false;
    const QPointer<QWidget> widget = handle_;
    const auto alive = alive_;
    bool passOn = true;
    for (const Message& m : messages) {
        EventFrame frame{&event, m.id, false, frame_};
        frame_ = &frame;
        SendMessage(m.id, m.wparam, m.lparam);
        if (!*alive) return true;
        frame_ = frame.outer;
        // Qt handles the event only when every message it stood for went unhandled.
        passOn = passOn && frame.passOn;
        if (!widget || handle_ != widget) return true;
    }
    return !passOn;
}

QWidget* Window::ChildFromParam(LPARAM lparam) const
{
    // Compared, never dereferenced: a posted number that is no child of ours gives no control.
    if (lparam == 0 || !handle_) return nullptr;
    const auto children = handle_->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (reinterpret_cast<LPARAM>(child) == lparam) return child;
    }
    return nullptr;
}

void Window::TrackMouseLeave()
{
    QPointer<QWidget>& last = lastUnderMouse();
    if (last == handle_) return;
    if (Window* previous = FromHandle(last.data())) previous->PostMessage(MSG_MOUSE_LEFT, 0, 0);
    last = handle_;
}

void Window::ResizeBackBuffer()
{
    if (!handle_) return;
    const qreal ratio = handle_->devicePixelRatioF();
    const QSize size = handle_->size() * ratio;
    backBuffer_ = size.isEmpty() ? QPixmap() : QPixmap(size);
    backBuffer_.setDevicePixelRatio(ratio);
}

}  // namespace tarnix
