#include "ui/framework/window_text.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tarnix {

void setWindowText(QWidget& widget, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        line->setText(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(&widget)) {
        plain->setPlainText(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(&widget)) {
        rich->setPlainText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        group->setTitle(text);
    } else {
        widget.setWindowTitle(text);
    }
}

}  // namespace tarnix
