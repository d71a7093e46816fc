#pragma once

#include <QDialog>

namespace tarnix {

// The widget of a framework dialog: Qt's own ways of ending a dialog (Escape, Enter, closing)
// become commands to the dialog object instead.
class FrameworkDialog final : public QDialog {
public:
    FrameworkDialog(QWidget* parent, Qt::WindowFlags flags);

    void accept() override;
    void reject() override;
};

}  // namespace tarnix
