#pragma once

#include <QObject>

#include <vector>

namespace tarnix {

// A key that sends a command: Alt together with a typed character.
struct Accelerator {
    char16_t character = 0;
    int command = 0;
};

// Turns accelerator keys, anywhere in the program, into WM_COMMAND for the framework window the
// key was addressed to (the nearest one holding the widget with the focus); the key itself then
// goes no further. Install on the application.
class AcceleratorFilter final : public QObject {
public:
    explicit AcceleratorFilter(std::vector<Accelerator> table) : table_(std::move(table)) {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<Accelerator> table_;
};

}  // namespace tarnix
