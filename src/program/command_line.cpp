#include "program/command_line.h"

namespace tarnix {
namespace {

struct Option {
    const char* name;
    bool CommandLine::*flag;
};

constexpr Option kOptions[] = {
    {"--version", &CommandLine::version},
    {"--verbose", &CommandLine::verbose},
};

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        bool known = false;
        for (const Option& option : kOptions) {
            if (argument == option.name) {
                line.*option.flag = true;
                known = true;
            }
        }
        if (!known) line.unknown.push_back(argument);
    }
    return line;
}

}  // namespace tarnix
