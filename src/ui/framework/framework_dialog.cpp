#include "ui/framework/framework_dialog.h"

#include "ui/framework/window.h"

namespace tarnix {

FrameworkDialog::FrameworkDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void FrameworkDialog::accept()
{
    if (Window* owner = Window::FromHandle(this)) owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}

void FrameworkDialog::reject()
{
    if (Window* owner = Window::FromHandle(this)) owner->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
}

}  // namespace tarnix
