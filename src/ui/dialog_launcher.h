#pragma once

class QWidget;

namespace tarnix {

// The dialogs the main window opens that are built elsewhere. UI thread only.
class DialogLauncher {
public:
    virtual ~DialogLauncher() = default;
    // Runs the options dialog modally over the owner; true when it ended with OK.
    virtual bool runOptions(QWidget* owner) = 0;
    // Opens the handset test dialog.
    virtual void runHandsetTest(QWidget* owner) = 0;
};

}  // namespace tarnix
