#pragma once

#include <string>
#include <vector>

namespace tarnix {

// What the command line asks of this run. An option is a row of the table in command_line.cpp
// and a field here.
struct CommandLine {
    bool version = false;
    bool verbose = false;
    // Arguments that are no option of ours; the program says so and runs on.
    std::vector<std::string> unknown;
};

// The arguments after the program's name, once Qt has taken its own out.
CommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace tarnix
