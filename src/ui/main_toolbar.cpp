#include "ui/main_toolbar.h"

#include "ui/framework/control_id.h"
#include "ui/framework/window.h"
#include "ui/program_icons.h"

#include <QAction>
#include <QToolBar>

namespace tarnix {
namespace {

constexpr char kImageProperty[] = "toolbarImage";

enum Image : int {
    VoiceOff = 0,
    VoiceOn = 1,
    TextOff = 2,
    TextOn = 3,
    MakeCall = 4,
    Stop = 5,
    Play = 6,
    Delete = 7,
    SendIm = 8,
};

struct Button {
    int command;
    int image;
    bool check;
    const char* tooltip;
};

// In toolbar order; 0 is the separator.
constexpr Button kButtons[] = {
    {MainToolbar::kCommandVoiceAnswering, VoiceOff, true, "Enable voice answering"},
    {MainToolbar::kCommandTextAnswering, TextOff, true, "Enable text answering"},
    {0, 0, false, nullptr},
    {MainToolbar::kCommandPlay, Play, false, "Play"},
    {MainToolbar::kCommandDelete, Delete, false, "Delete"},
    {MainToolbar::kCommandMakeCall, MakeCall, false, "Make call"},
    {MainToolbar::kCommandSendIm, SendIm, false, "Send instant message"},
};

void setImage(QAction& action, int image)
{
    action.setProperty(kImageProperty, image);
    action.setIcon(toolbarIcon(image));
}

}  // namespace

MainToolbar::MainToolbar(QToolBar& bar, Window& owner) : bar_(bar)
{
    setControlId(bar_, kControlId);
    bar_.setIconSize(QSize(24, 24));
    bar_.setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar_.setMovable(false);
    for (const Button& button : kButtons) {
        if (button.command == 0) {
            bar_.addSeparator();
            continue;
        }
        QAction* action = bar_.addAction(QString());
        setImage(*action, button.image);
        action->setCheckable(button.check);
        action->setToolTip(QString::fromLatin1(button.tooltip));
        owner.BindCommand(*action, button.command);
    }
}

void MainToolbar::setVoiceAnswering(bool on)
{
    setCheckButton(kCommandVoiceAnswering, on, on ? VoiceOn : VoiceOff,
                   on ? "Voice answering enabled" : "Voice answering disabled");
}

void MainToolbar::setTextAnswering(bool on)
{
    setCheckButton(kCommandTextAnswering, on, on ? TextOn : TextOff,
                   on ? "Text answering enabled" : "Text answering disabled");
}

void MainToolbar::setPlaying(bool playing)
{
    QAction* play = action(kCommandPlay);
    setImage(*play, playing ? Stop : Play);
    play->setToolTip(QString::fromLatin1(playing ? "Stop" : "Play"));
}

QAction* MainToolbar::action(int command) const
{
    const auto actions = bar_.actions();
    for (QAction* action : actions) {
        if (!action->isSeparator() && controlId(*action) == command) return action;
    }
    return nullptr;
}

int MainToolbar::imageOf(const QAction& action)
{
    return action.property(kImageProperty).toInt();
}

void MainToolbar::setCheckButton(int command, bool on, int image, const char* text)
{
    QAction* button = action(command);
    setImage(*button, image);
    button->setChecked(on);
    button->setText(QString::fromLatin1(text));
}

}  // namespace tarnix
