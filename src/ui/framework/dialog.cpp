#include "ui/framework/dialog.h"

#include "ui/framework/framework_dialog.h"
#include "ui/framework/localise.h"

#include <QApplication>
#include <QPainter>

namespace tarnix {

Dialog::Dialog(EventLoop& loop) : Window(loop)
{
    SetProcedure(&Dialog::FrameworkDialogProc);
}

Dialog::~Dialog()
{
    // Destroyed here, while the dialog procedure still belongs to a dialog.
    DestroyWindow();
}

void Dialog::ApplyLanguage()
{
    if (QWidget* dialog = Handle()) LocaliseControlsWithDefaultFont(*dialog, Texts());
}

void Dialog::OnDraw(QPainter& dc)
{
    if (BackgroundImage()) BackgroundImage()->draw(dc, 0, 0);
}

void Dialog::OnLButtonDown(int, int, unsigned) {}

void Dialog::OnLButtonUp(int, int, unsigned) {}

bool Dialog::OnInitDialog(QWidget*, LPARAM)
{
    if (QWidget* dialog = Handle()) dialog->setFont(QApplication::font());
    ApplyLanguage();
    return true;
}

LRESULT Dialog::DialogProc(unsigned message, WPARAM wparam, LPARAM lparam)
{
    LRESULT ignored = 0;
    RouteToHandler(message, wparam, lparam, ignored);
    return 0;
}

LRESULT Dialog::FrameworkDialogProc(Window& window, unsigned message, WPARAM wparam, LPARAM lparam)
{
    auto& dialog = static_cast<Dialog&>(window);
    const LRESULT result = dialog.DialogProc(message, wparam, lparam);
    if (result == 0) dialog.WidgetDefault(message);
    return result;
}

bool Dialog::Initialise(const DialogTemplate& build, QWidget* owner, LPARAM param, bool child)
{
    if (Handle()) return false;
    ended_ = false;
    endCode_ = 0;
    auto widget = std::make_unique<FrameworkDialog>(owner, Qt::Dialog);
    // QDialog turns plain widget flags into a dialog window; a page must be told again.
    if (child) widget->setWindowFlags(Qt::Widget);
    Adopt(widget.release(), true);  // from here the owner or DestroyWindow deletes it
    if (build) build(*static_cast<QDialog*>(Handle()));
    QWidget* focus = nullptr;
    const auto children = Handle()->findChildren<QWidget*>();
    for (QWidget* c : children) {
        if ((c->focusPolicy() & Qt::TabFocus) && c->isEnabled()) {
            focus = c;
            break;
        }
    }
    if (OnInitDialog(focus, param) && focus && Handle()) focus->setFocus();
    return Handle() != nullptr;
}

int Dialog::DoModal(const DialogTemplate& build, QWidget* owner, LPARAM param)
{
    modal_ = true;
    if (!Initialise(build, owner, param, false)) return -1;
    if (!ended_) static_cast<QDialog*>(Handle())->exec();
    const int result = endCode_;
    DestroyWindow();
    return result;
}

bool Dialog::CreateModeless(const DialogTemplate& build, QWidget* owner, LPARAM param, bool child)
{
    modal_ = false;
    return Initialise(build, owner, param, child);
}

bool Dialog::EndDialog(int result)
{
    auto* dialog = static_cast<QDialog*>(Handle());
    if (!dialog) return false;
    endCode_ = result;
    ended_ = true;
    if (modal_) {
        dialog->done(result);
    } else {
        dialog->hide();
    }
    return true;
}

}  // namespace tarnix
