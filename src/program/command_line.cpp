#include "program/command_line.h"

#include "ui/main_menus.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace tarnix {
namespace {

// Options that pass a window command to the running instance.
struct InstanceOption {
    const char* name;
    int command;
    const char* description;
};

constexpr InstanceOption kInstanceOptions[] = {
    {"show", MenuCommand::ShowMainWindow,
     "Show the main window; starts the program with it shown when it does not run."},
    {"test-dialog", MenuCommand::TestHandset, "Open the handset test dialog of the running program."},
    {"toggle-voice-answering", MenuCommand::ToggleVoiceAnswering,
     "Switch voice answering of the running program on or off."},
    {"toggle-text-answering", MenuCommand::ToggleTextAnswering,
     "Switch text answering of the running program on or off."},
};

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Makes a USB telephone handset the telephone of Skype."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Print the version and end."));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("Log debug lines too."));
    parser.addOption(version);
    parser.addOption(verbose);
    for (const InstanceOption& option : kInstanceOptions) {
        parser.addOption(QCommandLineOption(QLatin1String(option.name), QLatin1String(option.description)));
    }

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Fail;
        line.text = parser.errorText() + u'\n';
        return line;
    }
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::ShowHelp;
        // Without the application object the parser cannot know the program's name.
        line.text = parser.helpText().replace(QLatin1String("<executable_name>"),
                                              QFileInfo(arguments.value(0)).fileName());
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::ShowVersion;
        return line;
    }
    line.verbose = parser.isSet(verbose);
    if (!parser.positionalArguments().isEmpty()) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("Unexpected argument '%1'.\n").arg(parser.positionalArguments().front());
        return line;
    }
    for (const InstanceOption& option : kInstanceOptions) {
        if (!parser.isSet(QLatin1String(option.name))) continue;
        if (line.command != 0) {
            line.action = CommandLine::Action::Fail;
            line.text = QStringLiteral("Give one command option at a time.\n");
            return line;
        }
        line.command = option.command;
    }
    line.show = line.command == MenuCommand::ShowMainWindow;
    return line;
}

}  // namespace tarnix
