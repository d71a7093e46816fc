#include "program/command_line.h"

#include <gtest/gtest.h>

namespace tarnix::test {
namespace {

TEST(CommandLine, OptionsNameTheWindowCommandOrEndWithHelpOrAnError)
{
    using Action = CommandLine::Action;
    struct Case {
        QStringList arguments;
        Action action;
        int command;
        bool show;
        const char* textHas;
    };
    const Case cases[] = {
        {{}, Action::Run, 0, false, ""},
        {{"--show"}, Action::Run, 32788, true, ""},
        {{"--test-dialog"}, Action::Run, 32772, false, ""},
        {{"--toggle-voice-answering"}, Action::Run, 32786, false, ""},
        {{"--toggle-text-answering"}, Action::Run, 32787, false, ""},
        {{"--help"}, Action::ShowHelp, 0, false, "Usage: tarnix-usbphone [options]"},
        {{"--version"}, Action::ShowVersion, 0, false, ""},
        {{"--verbose", "--show"}, Action::Run, 32788, true, ""},
        {{"-h"}, Action::ShowHelp, 0, false, "--toggle-voice-answering"},
        {{"--show", "--test-dialog"}, Action::Fail, 0, false, "one command option"},
        {{"--bogus"}, Action::Fail, 0, false, "bogus"},
        {{"stray"}, Action::Fail, 0, false, "stray"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const CommandLine line = parseCommandLine(QStringList{"/opt/tarnix/tarnix-usbphone"} + c.arguments);
        EXPECT_EQ(line.action, c.action);
        if (c.action == Action::Run) {
            EXPECT_EQ(line.command, c.command);
            EXPECT_EQ(line.show, c.show);
        }
        EXPECT_TRUE(line.text.contains(QLatin1String(c.textHas))) << line.text.toStdString();
    }
}

}  // namespace
}  // namespace tarnix::test
