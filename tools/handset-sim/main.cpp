// handset-sim: a virtual handset for a program that looks for one through udev and hidraw.
#include "handset_sim.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kUsage[] =
    "usage: handset-sim [--model 1|2|4] [--unplugged] [--script FILE] [--expect-timeout MS] "
    "[--stamp] [--] COMMAND [ARG...]\n"
    "Runs COMMAND with a virtual handset and acts on it from FILE or standard input, one action\n"
    "a line: press KEY | hold KEY | release | lift | replace | unplug | plug [MODEL] | wait MS |\n"
    "storm N MS (N times: unplug, wait MS, plug, wait MS) | expect WORD... | quit.\n"
    "KEY: 0-9 * # yes no up down mute delete.\n"
    "--stamp begins every line it prints with the monotonic clock in seconds.\n";

}  // namespace

int main(int argc, char** argv)
{
    tarnix::sim::HandsetSim::Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--model" && hasValue) {
            options.model = std::atoi(argv[++i]);
        } else if (arg == "--script" && hasValue) {
            options.script = argv[++i];
        } else if (arg == "--expect-timeout" && hasValue) {
            options.expectTimeoutMs = std::atoi(argv[++i]);
        } else if (arg == "--stamp") {
            options.stamped = true;
        } else if (arg == "--unplugged") {
            options.plugged = false;
        } else if (arg == "--help" || arg.starts_with("-")) {
            std::fputs(kUsage, arg == "--help" ? stdout : stderr);
            return arg == "--help" ? 0 : 2;
        } else {
            break;
        }
    }
    for (; i < argc; ++i) options.command.emplace_back(argv[i]);
    if (options.command.empty() || !tarnix::sim::HandsetBed::makeHandset(options.model)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return tarnix::sim::HandsetSim::run(options);
}
