#pragma once

namespace tarnix {

// The window that takes commands from other programs (show the window, the test dialog, toggle
// answering).
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when the id is one such command and it has been queued for the UI thread; false
    // (nothing done) otherwise.
    virtual bool acceptCommand(int id) = 0;
};

}  // namespace tarnix
