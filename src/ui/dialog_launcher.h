#pragma once

#include <functional>

class QWidget;

namespace tarnix {

// The dialogs the main window opens that are built elsewhere. UI thread only.
class DialogLauncher {
public:
    virtual ~DialogLauncher() = default;
    // Runs the options dialog modally over the owner; true when it ended with OK, or when it was
    // open already and only came to the front. `refresh` runs after Apply has changed the
    // settings: the owner saves them and shows them.
    virtual bool runOptions(QWidget* owner, const std::function<void()>& refresh) = 0;
    // Opens the handset test dialog.
    virtual void runHandsetTest(QWidget* owner) = 0;
};

}  // namespace tarnix
