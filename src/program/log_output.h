#pragma once

namespace tarnix {

// Sends the program's log to stderr, one line a message: "category: message". When stderr is
// the journal's own stream, each line starts with the syslog priority ("<4>") so the journal
// files it at that level.
void installLogOutput();
// Turns on the debug messages of every category of the program (off by default).
void showDebugMessages();

}  // namespace tarnix
