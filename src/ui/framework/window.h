#pragma once

#include "base/event_loop.h"
#include "ui/framework/image.h"
#include "ui/framework/window_constants.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <set>

class QAction;
class QEvent;
class QPainter;

namespace tarnix {

class LanguageTexts;
class WindowHook;

// The creation record PreCreate may change.
struct CreateParams {
    unsigned exStyle = 0;
    QString className;
    QString title;
    unsigned style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    QWidget* parent = nullptr;
    int menuOrId = 0;  // a child's control id
};

// Base of every window of the system: turns each message its widget receives into a call of one
// virtual handler. Messages come from Qt events, from SendMessage and from PostMessage and timers,
// which run through the event loop so windows can be driven on a virtual clock.
//
// The object is made before its widget and may outlive it: destroying the widget forgets the
// handle, and destroying the object destroys a widget it made that still exists (a taken-over
// widget is only let go). A derived class that wants its OnDestroy for that last case destroys
// the window in its own destructor. UI thread only.
class Window {
public:
    explicit Window(EventLoop& loop);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The handlers in their fixed order; each default passes the message to DefaultProc unless
    // said otherwise.
    virtual bool Create(unsigned exStyle, const QString& className, const QString& title, unsigned style,
                        int x, int y, int width, int height, QWidget* parent, int menuOrId);
    // Registers the default class on first use and gives it to creations without a class name.
    virtual bool PreCreate(CreateParams& params);
    // The language hook: classes put their translated texts (title, controls) here. The default
    // gives the buttons and labels the texts of their ids (none without language texts).
    virtual void ApplyLanguage();
    // For a taken-over widget, its own handling; otherwise Qt's for events and the platform's
    // default for the rest (a close destroys a window and cancels a dialog).
    virtual LRESULT DefaultProc(unsigned message, WPARAM wparam, LPARAM lparam);
    virtual LRESULT OnCreate(const CreateParams& params);  // -1 refuses the creation
    virtual void OnSize(int type, int width, int height);
    virtual void OnDestroy();           // default: DefaultProc, then forget the handle
    virtual void OnDraw(QPainter& dc);  // default: nothing
    virtual void OnLButtonDown(int x, int y, unsigned keyFlags);
    virtual void OnLButtonUp(int x, int y, unsigned keyFlags);
    virtual void OnLButtonDblClk(unsigned x, unsigned y, unsigned keyFlags);
    virtual void OnMouseMove(int x, int y, unsigned keyFlags);
    virtual void OnVScroll(int code, int position, QWidget* control);
    virtual void OnHScroll(int code, int position, QWidget* control);
    virtual void OnKeyDown(unsigned key, unsigned repeatCount, unsigned flags);
    virtual void OnKeyUp(unsigned key, unsigned repeatCount, unsigned flags);
    virtual void OnChar(unsigned character, unsigned repeatCount, unsigned flags);
    virtual LRESULT OnCommand(WPARAM wparam, QWidget* control);  // wparam: id, notification << 16
    // Default: the framework's painting, with OnDraw, for windows of framework classes; a
    // control (made by its system class or taken over) paints itself.
    virtual LRESULT OnPaint();
    virtual void OnTimer(int id);
    virtual void OnMouseLeave();    // default: nothing
    virtual void OnCreateFailed();  // default: nothing

    // Takes over an existing widget (a control of a dialog): its events come to this object, and
    // DefaultProc hands them back to the widget. False when this object already has a window or
    // the widget is another object's.
    bool Attach(QWidget* widget);
    // Sends WM_DESTROY to this window and the framework windows inside it, then deletes the
    // widget (later when an event of it is under way).
    void DestroyWindow();

    QWidget* Handle() const { return handle_.data(); }
    // The framework object of a widget, if any.
    static Window* FromHandle(const QWidget* widget);
    // The child control with this id (searched through the whole widget tree), or null.
    QWidget* GetDlgItem(int id) const;
    // Enables or disables the child control with this id; nothing when there is none.
    void EnableDlgItem(int id, bool enabled) const;
    // True when the child control with this id is there and enabled.
    bool IsDlgItemEnabled(int id) const;

    // Runs the message through the window's procedure now.
    LRESULT SendMessage(unsigned message, WPARAM wparam, LPARAM lparam);
    // Queues the message on the event loop; dropped if the window is gone by then. False without
    // a window.
    bool PostMessage(unsigned message, WPARAM wparam, LPARAM lparam);
    // A WM_TIMER with this id every periodMs; setting it again restarts it. Timers end with the
    // window. False without a window.
    bool SetTimer(int id, int periodMs);
    bool KillTimer(int id);

    // Makes the action send WM_COMMAND with the id to this window (menus, accelerators).
    void BindCommand(QAction& action, int id);

    // Centres a top-level window on another window when that exists, is not minimised and has a
    // positive size; else on the desktop.
    void CenterWindow(const QWidget* other = nullptr);
    // Raises the window and gives it the focus; false without a window.
    bool SetForegroundWindow() const;

    // The texts the language hook uses; null (the default) keeps the texts the window was built
    // with. Not owned.
    void SetLanguageTexts(const LanguageTexts* texts) { texts_ = texts; }
    const LanguageTexts* Texts() const { return texts_; }

    void SetBackgroundImage(std::optional<Image> image) { backgroundImage_ = std::move(image); }
    const std::optional<Image>& BackgroundImage() const { return backgroundImage_; }

    // While OnPaint runs: the part of the window being painted; empty otherwise.
    const QRect& UpdateRect() const { return updateRect_; }

protected:
    // The loop this window posts and times on; helpers a window owns run on the same one.
    EventLoop& Loop() const { return loop_; }
    // Classes that draw much turn this on before creating their window: painting then goes
    // through a back buffer and the background is not erased first.
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }

    // The procedure a widget's messages go through; a dialog installs its own.
    using Procedure = LRESULT (*)(Window&, unsigned, WPARAM, LPARAM);
    void SetProcedure(Procedure procedure) { procedure_ = procedure; }
    // Routes a message shared by the window and dialog procedures to its handler; false when the
    // message has no handler.
    bool RouteToHandler(unsigned message, WPARAM wparam, LPARAM lparam, LRESULT& result);
    // Hooks a widget this object made itself (not taken over).
    void Adopt(QWidget* widget, bool doubleClicks);
    // What happens to a message nobody handled: Qt's own handling while it stands for a Qt event,
    // else the platform's default.
    LRESULT WidgetDefault(unsigned message);

private:
    friend class WindowHook;
    struct EventFrame;

    static LRESULT WindowProc(Window& window, unsigned message, WPARAM wparam, LPARAM lparam);
    bool HandleEvent(QEvent& event);
    void HandleWidgetGone();
    void Hook(QWidget* widget, bool takenOver, bool doubleClicks);
    void Unhook();
    void RetireHook(bool running);
    void ForgetForDestroy();
    QWidget* ChildFromParam(LPARAM lparam) const;
    void TrackMouseLeave();
    void ResizeBackBuffer();

    EventLoop& loop_;
    QPointer<QWidget> handle_;
    std::unique_ptr<WindowHook> hook_;
    QObject context_;  // lifetime of the connections this object makes
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool takenOver_ = false;
    bool doubleClicks_ = true;
    bool controlPaintsItself_ = false;
    bool destroying_ = false;
    Procedure procedure_ = &Window::WindowProc;
    EventFrame* frame_ = nullptr;
    const CreateParams* creating_ = nullptr;
    QRect updateRect_;
    bool doubleBuffered_ = false;
    QPixmap backBuffer_;
    std::optional<Image> backgroundImage_;
    std::set<int> timers_;
    const LanguageTexts* texts_ = nullptr;
};

}  // namespace tarnix
