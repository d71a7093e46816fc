#pragma once

#include "ui/framework/window.h"

#include <QString>
#include <QStringList>

namespace tarnix::test {

// A window that writes down every handler call with its arguments, then does what the base does.
class RecordingWindow : public Window {
public:
    using Window::SetDoubleBuffered;
    using Window::Window;

    QStringList calls;
    bool refuseCreation = false;  // PreCreate says no
    LRESULT createResult = 0;     // what OnCreate returns
    QWidget* lastControl = nullptr;

    bool PreCreate(CreateParams& params) override;
    LRESULT DefaultProc(unsigned message, WPARAM wparam, LPARAM lparam) override;
    LRESULT OnCreate(const CreateParams& params) override;
    void OnSize(int type, int width, int height) override;
    void OnDestroy() override;
    void OnLButtonDown(int x, int y, unsigned keyFlags) override;
    void OnLButtonUp(int x, int y, unsigned keyFlags) override;
    void OnLButtonDblClk(unsigned x, unsigned y, unsigned keyFlags) override;
    void OnMouseMove(int x, int y, unsigned keyFlags) override;
    void OnVScroll(int code, int position, QWidget* control) override;
    void OnHScroll(int code, int position, QWidget* control) override;
    void OnKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void OnKeyUp(unsigned key, unsigned repeatCount, unsigned flags) override;
    void OnChar(unsigned character, unsigned repeatCount, unsigned flags) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;
    void OnTimer(int id) override;
    void OnMouseLeave() override;
    void OnCreateFailed() override;

    // The recorded calls whose text starts with the prefix.
    QStringList callsStartingWith(const QString& prefix) const;
};

}  // namespace tarnix::test
