#pragma once

#include <QString>
#include <QStringList>

namespace tarnix {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action {
        Run,          // start (or pass `command` to the running instance)
        ShowHelp,     // print `text` to standard output and end with 0
        ShowVersion,  // print the version to standard output and end with 0
        Fail,         // print `text` to standard error and end with 2
    };
    Action action = Action::Run;
    // The window command for the running instance; 0 for none.
    int command = 0;
    // With no instance running, start the program and show the main window.
    bool show = false;
    // Every tarnix logging category at debug level.
    bool verbose = false;
    QString text;
};

// Reads the arguments (the program's name first), once Qt has taken its own out. Options are a
// table: one more is one more row.
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace tarnix
