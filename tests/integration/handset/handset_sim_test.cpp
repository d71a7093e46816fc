// The handset-sim command driving a small program on the handset layer, and the real program.
#include "child_process.h"
#include "device/handset_codes.h"
#include "program_session.h"
#include "sim_command.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <QDate>

#include <algorithm>
#include <array>
#include <regex>
#include <string>
#include <vector>

namespace tarnix::test {
namespace {

using Lines = std::vector<std::string>;
using sim::SimCommand;

struct SimRun {
    Lines lines;
    int exitCode = -1;
};

// Runs handset-sim with the script, collecting its output (and the program's) to the end.
SimRun runSim(const std::string& script, const QStringList& options,
              const QStringList& command = {HANDSET_PROBE_PATH},
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    TempFolder folder;
    folder.write("script", script);
    QStringList arguments = options;
    arguments << "--script" << QString::fromStdString(folder.file("script")) << "--";
    arguments << command;
    ChildProcess sim(HANDSET_SIM_PATH, arguments, environment);
    SimRun run;
    for (;;) {
        const std::string line = sim.readLine(10000);
        if (line.empty() && !sim.running()) break;
        if (!line.empty()) run.lines.push_back(line);
    }
    sim.waitForExit();
    run.exitCode = sim.exitCode();
    return run;
}

// True when expected appear in lines in this order, others in between.
::testing::AssertionResult inOrder(const Lines& lines, const Lines& expected)
{
    auto at = lines.begin();
    for (const std::string& line : expected) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end()) {
            std::string all;
            for (const std::string& l : lines) all += "\n  " + l;
            return ::testing::AssertionFailure() << "\"" << line << "\" not found in order in:" << all;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

TEST(HandsetSim, KeysRingAndReplugReachTheProgramAndBack)
{
    const SimRun run = runSim(R"(# the probe lights the handset once it has found it
expect light=on
press 5
press yes
expect ring=on melody=5 volume=12
press no
expect ring=off
unplug
wait 200
plug
expect light=on
hold 7
wait 300
)",
                              {"--model", "4"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(inOrder(
        run.lines, {"plugged model=4 node=/dev/hidraw0",
                    "state model=4 handset=on-cradle ring=off light=off melody=- volume=-", "present 1",
                    "state model=4 handset=on-cradle ring=off light=on melody=- volume=-", "> press 5",
                    "key 5", "key Yes", "state model=4 handset=on-cradle ring=on light=on melody=5 volume=12",
                    "key No", "state model=4 handset=on-cradle ring=off light=on melody=5 volume=12",
                    // A replug before the program heard of the removal folds the
                    // second absence into the new presence.
                    "unplugged node=/dev/hidraw0", "presence 0", "presence 1", "key 7"}));
    EXPECT_TRUE(inOrder(run.lines, {"unplugged node=/dev/hidraw0", "plugged model=4 node=/dev/hidraw1",
                                    "> hold 7", "key 7", "exited signal=15"}));
    EXPECT_EQ(run.lines.back(), "exited signal=15");
}

TEST(HandsetSim, AStormUnplugsAndPlugsTheHandsetAgainAndTheLastOneStaysIn)
{
    const SimRun run = runSim(R"(expect light=on
storm 3 40
expect light=on
press 7
wait 300
)",
                              {"--model", "2"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(inOrder(
        run.lines,
        {"> storm 3 40", "unplugged node=/dev/hidraw0", "plugged model=2 node=/dev/hidraw1",
         "unplugged node=/dev/hidraw1", "plugged model=2 node=/dev/hidraw2", "unplugged node=/dev/hidraw2",
         "plugged model=2 node=/dev/hidraw3", "> expect light=on", "> press 7", "key 7"}));
    EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), "> press 7"), 1);
    EXPECT_EQ(std::count_if(run.lines.begin(), run.lines.end(),
                            [](const std::string& line) { return line.starts_with("plugged "); }),
              4);
}

TEST(HandsetSim, DigitsShowOnTheLcdAndTheHookIsReported)
{
    const SimRun run = runSim(R"(expect light=on
lift
press 4
press 2
expect lcd="42"
replace
press no
expect lcd="" ring=off
)",
                              {"--model", "2"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(inOrder(run.lines, {"> lift", "key 4", "key 2", "key HookOn", "key No"}));
    EXPECT_TRUE(inOrder(
        run.lines,
        {"state model=2 handset=lifted ring=off light=on lcd=\"\" call=off bars=0 link=off day=-",
         "state model=2 handset=lifted ring=off light=on lcd=\"4\" call=off bars=0 link=off day=-",
         "state model=2 handset=lifted ring=off light=on lcd=\"42\" call=off bars=0 link=off day=-",
         "state model=2 handset=on-cradle ring=off light=on lcd=\"42\" call=off bars=0 link=off day=-",
         "state model=2 handset=on-cradle ring=off light=on lcd=\"\" call=off bars=0 link=off day=-"}));
}

TEST(HandsetSim, ExitStatusTellsHowTheRunEnded)
{
    struct Case {
        const char* name;
        std::string script;
        QStringList command;
        std::string lastLine;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {"ExpectNeverMet", "expect ring=on\npress 1\n", {HANDSET_PROBE_PATH}, "exited signal=15", 3},
        {"UnknownCommand", "jump\n", {HANDSET_PROBE_PATH}, "exited signal=15", 2},
        {"ProgramEndsByItself", "wait 10000\n", {"sh", "-c", "exit 7"}, "exited code=7", 7},
        {"ProgramCannotBeRun", "wait 10000\n", {"/nonexistent/program"}, "exited code=127", 127},
    };
    for (const Case& c : cases) {
        const SimRun run = runSim(c.script, {"--expect-timeout", "300"}, c.command);
        ASSERT_FALSE(run.lines.empty()) << c.name;
        EXPECT_EQ(run.lines.back(), c.lastLine) << c.name;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
    }
    const SimRun failed = runSim("expect ring=on\n", {"--expect-timeout", "300"});
    EXPECT_TRUE(inOrder(failed.lines, {"> expect ring=on", "expect-failed ring=on"}));
    const SimRun unknown = runSim("jump\n", {});
    EXPECT_TRUE(inOrder(unknown.lines, {"error unknown command: jump"}));

    // Stamped lines carry the monotonic clock first, rising, so they merge with skype-sim's record.
    const SimRun stamped = runSim("wait 10000\n", {"--stamp"}, {"sh", "-c", "sleep 0.2; exit 7"});
    ASSERT_GE(stamped.lines.size(), 2u);
    const std::regex stamp(R"((\d+\.\d{6}) (.*))");
    double previous = 0;
    for (const std::string& line : stamped.lines) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(line, parts, stamp)) << line;
        EXPECT_GE(std::stod(parts[1]), previous) << line;
        previous = std::stod(parts[1]);
    }
    EXPECT_TRUE(stamped.lines.back().ends_with(" exited code=7")) << stamped.lines.back();
}

// The program as a user starts it, without display or session bus: every device it looks for
// (sound cards included) is asked for while the virtual handset is plugged in.
TEST(HandsetSim, RealProgramFindsTheHandsetShowsTheClockAndEndsInOrder)
{
    ProgramSession session(PROGRAM_PATH, LOCALE_PATH);
    ASSERT_TRUE(session.ready());
    constexpr std::array<const char*, 7> kDays{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const std::string today = kDays[static_cast<std::size_t>(QDate::currentDate().dayOfWeek() - 1)];
    // No messenger: the link bars stay off once the program has settled.
    const SimRun run =
        runSim("expect day=" + today + "\nexpect bars=0 link=off\nwait 300\n",
               {"--model", "2", "--expect-timeout", "15000"},
               {QString::fromStdString(session.folder().file("tarnix-usbphone"))}, session.environment());

    EXPECT_EQ(run.exitCode, 0);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), "exited code=0");
    const std::regex clock(R"(state model=2 .* lcd="\d\d-\d\d +\d\d:\d\d" .*day=)" + today);
    EXPECT_TRUE(std::any_of(run.lines.begin(), run.lines.end(),
                            [&](const std::string& line) { return std::regex_match(line, clock); }));
    const std::string saved = session.folder().read("config.xml");
    EXPECT_NE(saved.find("</Config>"), std::string::npos) << saved;
}

TEST(SimCommandLine, ParsesEveryCommandAndRejectsMistakes)
{
    struct Case {
        std::string line;
        SimCommand::Kind kind;
        int key;
        int number;
        std::string words;
        std::string error;  // a part of the error; empty when the line is good
    };
    using K = SimCommand::Kind;
    const std::vector<Case> cases = {
        {"press 5", K::Press, Key5, 0, "", ""},
        {"  press   #  ", K::Press, KeyHash, 0, "", ""},
        {"press yes", K::Press, KeyYes, 0, "", ""},
        {"hold hangup", K::Hold, KeyNo, 0, "", ""},
        {"hold *", K::Hold, KeyStar, 0, "", ""},
        {"press delete", K::Press, KeyDelete, 0, "", ""},
        {"release", K::Release, 0, 0, "", ""},
        {"lift", K::Lift, 0, 0, "", ""},
        {"replace\r", K::Replace, 0, 0, "", ""},
        {"unplug", K::Unplug, 0, 0, "", ""},
        {"plug", K::Plug, 0, 0, "", ""},
        {"plug 1", K::Plug, 0, 1, "", ""},
        {"wait 250", K::Wait, 0, 250, "", ""},
        {"expect ring=on lcd=\"12\"", K::Expect, 0, 0, "ring=on lcd=\"12\"", ""},
        {"quit", K::Quit, 0, 0, "", ""},
        {"press 55", K::Press, 0, 0, "", "no such key"},
        {"press", K::Press, 0, 0, "", "no such key"},
        {"plug 3", K::Plug, 0, 0, "", "no such model"},
        {"wait soon", K::Wait, 0, 0, "", "milliseconds"},
        {"wait -5", K::Wait, 0, 0, "", "milliseconds"},
        {"expect", K::Expect, 0, 0, "", "words"},
        {"lift now", K::Lift, 0, 0, "", "no argument"},
        {"dial 123", K::Quit, 0, 0, "", "unknown command"},
        {"storm 5", K::Storm, 0, 0, "", "cycles and milliseconds"},
        {"storm 0 40", K::Storm, 0, 0, "", "cycles and milliseconds"},
        {"storm 5 soon", K::Storm, 0, 0, "", "cycles and milliseconds"},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto command = sim::parseSimCommand(c.line, error);
        if (!c.error.empty()) {
            EXPECT_FALSE(command) << c.line;
            EXPECT_NE(error.find(c.error), std::string::npos) << c.line << ": " << error;
            continue;
        }
        ASSERT_TRUE(command) << c.line << ": " << error;
        EXPECT_EQ(command->kind, c.kind) << c.line;
        EXPECT_EQ(command->key, c.key) << c.line;
        EXPECT_EQ(command->number, c.number) << c.line;
        EXPECT_EQ(command->words, c.words) << c.line;
    }
    std::string stormError;
    const auto storm = sim::parseSimCommand("storm 50  40", stormError);
    ASSERT_TRUE(storm) << stormError;
    EXPECT_EQ(storm->kind, K::Storm);
    EXPECT_EQ(storm->number, 50);
    EXPECT_EQ(storm->gapMs, 40);
    EXPECT_TRUE(sim::stateHoldsEveryWord("ring=on light=off lcd=\"42\"", " lcd=\"42\"\tring=on "));
    EXPECT_FALSE(sim::stateHoldsEveryWord("ring=on light=off", "ring=on light=on"));
    EXPECT_TRUE(sim::stateHoldsEveryWord("ring=on", ""));
    std::string error;
    EXPECT_FALSE(sim::parseSimCommand("   ", error));
    EXPECT_FALSE(sim::parseSimCommand("# a comment", error));
    EXPECT_TRUE(error.empty());
}

}  // namespace
}  // namespace tarnix::test
