#include "recording_window.h"

namespace tarnix::test {

bool RecordingWindow::PreCreate(CreateParams& params)
{
    calls << QStringLiteral("PreCreate");
    return !refuseCreation && Window::PreCreate(params);
}

LRESULT RecordingWindow::DefaultProc(unsigned message, WPARAM wparam, LPARAM lparam)
{
    calls << QStringLiteral("DefaultProc %1").arg(message);
    return Window::DefaultProc(message, wparam, lparam);
}

LRESULT RecordingWindow::OnCreate(const CreateParams& params)
{
    calls << QStringLiteral("Create %1").arg(params.title);
    return createResult;
}

void RecordingWindow::OnSize(int type, int width, int height)
{
    calls << QStringLiteral("Size %1 %2 %3").arg(type).arg(width).arg(height);
}

void RecordingWindow::OnDestroy()
{
    calls << QStringLiteral("Destroy");
    Window::OnDestroy();
}

void RecordingWindow::OnLButtonDown(int x, int y, unsigned keyFlags)
{
    calls << QStringLiteral("LButtonDown %1 %2 %3").arg(x).arg(y).arg(keyFlags);
}

void RecordingWindow::OnLButtonUp(int x, int y, unsigned keyFlags)
{
    calls << QStringLiteral("LButtonUp %1 %2 %3").arg(x).arg(y).arg(keyFlags);
}

void RecordingWindow::OnLButtonDblClk(unsigned x, unsigned y, unsigned keyFlags)
{
    calls << QStringLiteral("LButtonDblClk %1 %2 %3").arg(x).arg(y).arg(keyFlags);
}

void RecordingWindow::OnMouseMove(int x, int y, unsigned keyFlags)
{
    calls << QStringLiteral("MouseMove %1 %2 %3").arg(x).arg(y).arg(keyFlags);
}

void RecordingWindow::OnVScroll(int code, int position, QWidget* control)
{
    lastControl = control;
    calls << QStringLiteral("VScroll %1 %2").arg(code).arg(position);
}

void RecordingWindow::OnHScroll(int code, int position, QWidget* control)
{
    lastControl = control;
    calls << QStringLiteral("HScroll %1 %2").arg(code).arg(position);
}

void RecordingWindow::OnKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    calls << QStringLiteral("KeyDown %1 %2 %3").arg(key).arg(repeatCount).arg(flags);
}

void RecordingWindow::OnKeyUp(unsigned key, unsigned repeatCount, unsigned flags)
{
    calls << QStringLiteral("KeyUp %1 %2 %3").arg(key).arg(repeatCount).arg(flags);
}

void RecordingWindow::OnChar(unsigned character, unsigned repeatCount, unsigned flags)
{
    calls << QStringLiteral("Char %1 %2 %3").arg(character).arg(repeatCount).arg(flags);
}

LRESULT RecordingWindow::OnCommand(WPARAM wparam, QWidget* control)
{
    lastControl = control;
    calls << QStringLiteral("Command %1 %2").arg(LOWORD(wparam)).arg(HIWORD(wparam));
    return 7;
}

void RecordingWindow::OnTimer(int id)
{
    calls << QStringLiteral("Timer %1").arg(id);
}

void RecordingWindow::OnMouseLeave()
{
    calls << QStringLiteral("MouseLeave");
}

void RecordingWindow::OnCreateFailed()
{
    calls << QStringLiteral("CreateFailed");
}

QStringList RecordingWindow::callsStartingWith(const QString& prefix) const
{
    QStringList out;
    for (const QString& c : calls) {
        if (c.startsWith(prefix)) out << c;
    }
    return out;
}

}  // namespace tarnix::test
