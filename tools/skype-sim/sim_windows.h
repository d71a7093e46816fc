#pragma once

#include "messenger_windows_sim.h"

#include <QString>

#include <memory>

class QSocketNotifier;

namespace tarnix::sim {

class SimTranscript;

// The messenger's windows on $DISPLAY, so the driver finds something to work on: a main form
// from the start (titled "Skype", with a login control and an entry box) and the pop-ups a script
// asks for. What the windows report goes to the transcript as WINDOW lines ("WINDOW form 0x...",
// "WINDOW popup 0x...", "WINDOW text 12", "WINDOW focus", "WINDOW tab", "WINDOW closed 0x...").
// Without a display one EVENT line says so and the script's window lines do nothing.
class SimWindows {
public:
    explicit SimWindows(SimTranscript& transcript);
    ~SimWindows();
    SimWindows(const SimWindows&) = delete;
    SimWindows& operator=(const SimWindows&) = delete;

    void showPopup(const QString& title);
    void setEntryText(const QString& text);
    void iconifyForm();

private:
    void record(const char* what, unsigned long window);

    SimTranscript& transcript_;
    MessengerWindowsSim windows_;
    std::unique_ptr<QSocketNotifier> events_;
    unsigned long form_ = 0;
};

}  // namespace tarnix::sim
