#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnix::sim {

// One line of a handset-sim script.
struct SimCommand {
    enum class Kind {
        Press,    // press KEY: the key goes down and up again
        Hold,     // hold KEY: the key goes down and stays down
        Release,  // release
        Lift,     // lift
        Replace,  // replace
        Unplug,   // unplug
        Plug,     // plug [MODEL]
        Wait,     // wait MS
        Storm,    // storm N MS: N times unplug, wait MS, plug, wait MS
        Expect,   // expect WORD...: every word appears in the handset's state line
        Quit,     // quit
    };

    Kind kind = Kind::Quit;
    int key = 0;     // a HandsetKey
    int number = 0;  // the model (0: as before), milliseconds or a storm's cycles
    int gapMs = 0;   // a storm's wait after each unplug and each plug
    std::string words;
};

// The command on a line; empty for blank lines and "#" comments. error tells what is wrong
// with a line that is neither.
std::optional<SimCommand> parseSimCommand(std::string_view line, std::string& error);

// Whether an expect's words are all in the handset's state line.
bool stateHoldsEveryWord(std::string_view state, std::string_view words);

// "5", "*", "#", "yes", "no", "up", "down", "mute", "delete" (and "call", "hangup", "star",
// "hash") to a HandsetKey; -1 for anything else.
int handsetKeyNamed(std::string_view name);

}  // namespace tarnix::sim
