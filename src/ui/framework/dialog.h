#pragma once

#include "ui/framework/window.h"

#include <functional>

class QDialog;

namespace tarnix {

// Builds a dialog's controls, each with its control id: what a dialog resource is elsewhere.
using DialogTemplate = std::function<void(QDialog&)>;

// Base of the system's dialogs, modal or modeless. Messages go through DialogProc, which a class
// overrides to see notifications first; returning 0 leaves the dialog's default handling to Qt.
// Closing a dialog (or Escape) arrives as WM_COMMAND IDCANCEL, Enter without a default button as
// IDOK; a dialog ends only when its handler calls EndDialog.
class Dialog : public Window {
public:
    explicit Dialog(EventLoop& loop);
    ~Dialog() override;

    // The default GUI font on every child, then the window's texts.
    void ApplyLanguage() override;
    // Draws the background image, if any, at 0,0.
    void OnDraw(QPainter& dc) override;
    // A click on the dialog itself does nothing.
    void OnLButtonDown(int x, int y, unsigned keyFlags) override;
    void OnLButtonUp(int x, int y, unsigned keyFlags) override;

    // After the controls are built and before the dialog shows. Default: the default GUI font on
    // the dialog, then ApplyLanguage; true gives the focus to `focus`, the first control that
    // takes it.
    virtual bool OnInitDialog(QWidget* focus, LPARAM param);
    // Default: the shared handlers for destroy, size, paint, keys, command, timer, scrolls, mouse
    // and MSG_MOUSE_LEFT; always 0.
    virtual LRESULT DialogProc(unsigned message, WPARAM wparam, LPARAM lparam);

    // Runs the dialog until EndDialog and returns the end code; -1 when the dialog could not be
    // made (this object already has a window). The window is destroyed before it returns.
    int DoModal(const DialogTemplate& build, QWidget* owner, LPARAM param = 0);
    // Makes the dialog and leaves it hidden: a top-level window owned by `owner`, or with
    // `child` a page inside it.
    bool CreateModeless(const DialogTemplate& build, QWidget* owner, LPARAM param = 0, bool child = false);
    // Ends a modal dialog with the code (also from OnInitDialog, before it shows); hides a
    // modeless one. False without a window.
    bool EndDialog(int result);

private:
    static LRESULT FrameworkDialogProc(Window& window, unsigned message, WPARAM wparam, LPARAM lparam);
    bool Initialise(const DialogTemplate& build, QWidget* owner, LPARAM param, bool child);

    bool modal_ = false;
    bool ended_ = false;
    int endCode_ = 0;
};

}  // namespace tarnix
