#include "sim_command.h"

#include "device/handset_codes.h"

#include <array>
#include <charconv>
#include <utility>

namespace tarnix::sim {
namespace {

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::optional<int> numberIn(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

}  // namespace

bool stateHoldsEveryWord(std::string_view state, std::string_view words)
{
    for (std::size_t at = words.find_first_not_of(" \t"); at != std::string_view::npos;) {
        const std::size_t end = words.find_first_of(" \t", at);
        if (state.find(words.substr(at, end - at)) == std::string_view::npos) return false;
        at = words.find_first_not_of(" \t", end);
    }
    return true;
}

int handsetKeyNamed(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, int>, 13> kNames{{
        {"*", KeyStar},
        {"star", KeyStar},
        {"#", KeyHash},
        {"hash", KeyHash},
        {"yes", KeyYes},
        {"call", KeyYes},
        {"no", KeyNo},
        {"hangup", KeyNo},
        {"up", KeyUp},
        {"down", KeyDown},
        {"mute", KeyMute},
        {"delete", KeyDelete},
        {"del", KeyDelete},
    }};
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return name[0] - '0';
    for (const auto& [text, key] : kNames) {
        if (text == name) return key;
    }
    return -1;
}

std::optional<SimCommand> parseSimCommand(std::string_view line, std::string& error)
{
    error.clear();
    line = trim(line);
    if (line.empty() || line[0] == '#') return std::nullopt;
    const auto space = line.find_first_of(" \t");
    const std::string_view verb = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : trim(line.substr(space));

    struct Verb {
        std::string_view name;
        SimCommand::Kind kind;
    };
    static constexpr std::array<Verb, 11> kVerbs{{
        {"press", SimCommand::Kind::Press},
        {"hold", SimCommand::Kind::Hold},
        {"release", SimCommand::Kind::Release},
        {"lift", SimCommand::Kind::Lift},
        {"replace", SimCommand::Kind::Replace},
        {"unplug", SimCommand::Kind::Unplug},
        {"plug", SimCommand::Kind::Plug},
        {"wait", SimCommand::Kind::Wait},
        {"storm", SimCommand::Kind::Storm},
        {"expect", SimCommand::Kind::Expect},
        {"quit", SimCommand::Kind::Quit},
    }};
    SimCommand command;
    bool known = false;
    for (const Verb& v : kVerbs) {
        if (v.name == verb) {
            command.kind = v.kind;
            known = true;
        }
    }
    if (!known) {
        error = "unknown command: " + std::string(line);
        return std::nullopt;
    }

    switch (command.kind) {
        case SimCommand::Kind::Press:
        case SimCommand::Kind::Hold:
            command.key = handsetKeyNamed(rest);
            if (command.key < 0) error = "no such key: " + std::string(rest);
            break;
        case SimCommand::Kind::Plug:
            if (rest.empty()) break;
            command.number = numberIn(rest).value_or(-1);
            if (command.number != 1 && command.number != 2 && command.number != 4) {
                error = "no such model: " + std::string(rest);
            }
            break;
        case SimCommand::Kind::Wait:
            if (const auto ms = numberIn(rest)) {
                command.number = *ms;
            } else {
                error = "wait needs milliseconds: " + std::string(line);
            }
            break;
        case SimCommand::Kind::Storm: {
            const auto blank = rest.find_first_of(" \t");
            const auto cycles = numberIn(rest.substr(0, blank));
            const auto gap =
                blank == std::string_view::npos ? std::nullopt : numberIn(trim(rest.substr(blank)));
            if (cycles && gap && *cycles > 0) {
                command.number = *cycles;
                command.gapMs = *gap;
            } else {
                error = "storm needs cycles and milliseconds: " + std::string(line);
            }
            break;
        }
        case SimCommand::Kind::Expect:
            command.words = rest;
            if (rest.empty()) error = "expect needs words to look for";
            break;
        default:
            if (!rest.empty()) error = std::string(verb) + " takes no argument";
            break;
    }
    if (!error.empty()) return std::nullopt;
    return command;
}

}  // namespace tarnix::sim
