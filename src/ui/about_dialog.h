#pragma once

#include "ui/framework/dialog.h"

namespace tarnix {

// The About box: the program's icon, name and version, and OK. At most one is open; asking for
// another brings the open one to the front.
class AboutDialog final : public Dialog {
public:
    static constexpr int kTemplateId = 103;
    static constexpr int kTextTitle = 103;
    static constexpr const char16_t* kDefaultTitle = u"About";

    explicit AboutDialog(EventLoop& loop) : Dialog(loop) {}

    // Runs the box modally over the owner until OK or Cancel; when it is open already, brings
    // it to the front and returns at once.
    void Open(QWidget* owner);

    void ApplyLanguage() override;
    bool OnInitDialog(QWidget* focus, LPARAM param) override;
    LRESULT OnCommand(WPARAM wparam, QWidget* control) override;

private:
    QWidget* owner_ = nullptr;
};

}  // namespace tarnix
