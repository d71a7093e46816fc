#pragma once

#include "ui/framework/window.h"

#include <cstdint>

namespace tarnix {

// A small panel that slides in at the bottom right of the desktop and slides away again once
// nobody has touched or hovered it for a while. UI thread only.
//
// Life: no window -> hidden (created) -> shown (slid in) -> hidden (slid out and closed) -> ...
class NotificationPopup : public Window {
public:
    static constexpr int TIMER_POPUP = 1001;
    static constexpr int kPopupPeriodMs = 1000;
    // Drives the slide animation; not one of the ids the rest of the program knows.
    static constexpr int TIMER_SLIDE = 1002;
    static constexpr int kSlideFrameMs = 20;
    static constexpr int kSlideMs = 800;
    // How long the panel stays after the last tick that saw activity or the cursor over it.
    static constexpr int kIdleMs = 8000;

    explicit NotificationPopup(EventLoop& loop);

    // Creates the panel when it has no window yet, slides it in when it is hidden, brings it to
    // the front and counts as activity.
    void ShowPopup();

    void OnDraw(QPainter& dc) override;
    void OnLButtonDown(int x, int y, unsigned keyFlags) override;
    void OnLButtonUp(int x, int y, unsigned keyFlags) override;
    void OnMouseMove(int x, int y, unsigned keyFlags) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;
    void OnTimer(int id) override;

    // A frameless tool window of PopupWidth x PopupHeight above the bottom right corner of the
    // primary screen's available area, hidden, with TIMER_POPUP running.
    virtual void CreatePopup();
    // Default: destroys the window; the next ShowPopup makes a new one.
    virtual void ClosePopup();
    virtual int PopupWidth() const { return 180; }
    virtual int PopupHeight() const { return 120; }

    // Shown or sliding in (a panel sliding out counts as going away).
    bool IsShown() const;
    // The caption close box in client coordinates.
    QRect CloseBoxRect() const;

protected:
    // Called by ShowPopup before a hidden panel slides in; false keeps it hidden.
    virtual bool PrepareToShow() { return true; }
    void DrawFace(QPainter& dc) const;
    void DrawCloseBox(QPainter& dc) const;
    // Hides the window at once and puts it back where it belongs, for the next ShowPopup.
    void HidePanel();

private:
    enum class State { Hidden, SlidingIn, Shown, SlidingOut };

    void StartSlide(State state);
    void StepSlide();
    // Rows of the panel showing at this moment of the running slide.
    int VisibleRows() const;
    void ShowRows(int rows);

    EventLoop& loop_;
    State state_ = State::Hidden;
    QPoint home_;
    std::int64_t slideStartMs_ = 0;
    int slideStartRows_ = 0;
    std::int64_t deadlineMs_ = 0;
    bool activity_ = false;
};

}  // namespace tarnix
