#include "ui/main_menus.h"

#include "ui/framework/control_id.h"
#include "ui/framework/localise.h"
#include "ui/framework/window.h"

#include <QMenu>
#include <QMenuBar>

namespace tarnix {
namespace {

constexpr int kLanguageItems[] = {MenuCommand::English, MenuCommand::SimpleChinese,
                                  MenuCommand::TraditionalChinese};

QAction* addItem(QMenu& menu, Window& owner, const char* text, int id)
{
    QAction* action = menu.addAction(QString::fromUtf8(text));
    owner.BindCommand(*action, id);
    return action;
}

// Every action of the menu and its submenus.
QList<QAction*> allActions(const QMenu& menu)
{
    QList<QAction*> all;
    const auto actions = menu.actions();
    for (QAction* action : actions) {
        all << action;
        if (const QMenu* submenu = action->menu()) all << allActions(*submenu);
    }
    return all;
}

}  // namespace

std::unique_ptr<QMenuBar> buildMenuBar(Window& owner)
{
    auto bar = std::make_unique<QMenuBar>();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    addItem(*file, owner, "&Options...", MenuCommand::Options);
    file->addSeparator();
    addItem(*file, owner, "E&xit", MenuCommand::Exit);
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    addItem(*help, owner, "&About ...", MenuCommand::About);
    return bar;
}

std::unique_ptr<QMenu> buildTrayMenu(Window& owner)
{
    auto menu = std::make_unique<QMenu>();
    addItem(*menu, owner, "&Main window", MenuCommand::ShowMainWindow);
    addItem(*menu, owner, "&Options...", MenuCommand::Options);
    QMenu* languages = menu->addMenu(QStringLiteral("myLanguage"));
    for (const auto& [text, id] : {std::pair{"&English", MenuCommand::English},
                                   std::pair{"&Simple Chinese", MenuCommand::SimpleChinese},
                                   std::pair{"&Traditional Chinese", MenuCommand::TraditionalChinese}}) {
        addItem(*languages, owner, text, id)->setCheckable(true);
    }
    menu->addSeparator();
    addItem(*menu, owner, "Test &Usbphone...", MenuCommand::TestHandset);
    addItem(*menu, owner, "&Check Update", MenuCommand::CheckUpdate);
    addItem(*menu, owner, "&About...", MenuCommand::About);
    menu->addSeparator();
    addItem(*menu, owner, "E&xit", MenuCommand::Exit);
    return menu;
}

void PreparePopup(QMenu& popup, const PopupState& state, const LanguageTexts* texts)
{
    const auto own = popup.actions();
    for (QAction* action : own) {
        if (controlId(*action) == MenuCommand::TestHandset) popup.removeAction(action);
    }
    const int language = state.language >= 0 && state.language <= 2 ? state.language : 0;
    for (QAction* action : allActions(popup)) {
        const int id = controlId(*action);
        for (int i = 0; i < 3; ++i) {
            if (id == kLanguageItems[i]) action->setChecked(i == language);
        }
        if (id == MenuCommand::Options) action->setEnabled(state.optionsEnabled);
    }
    if (texts) LocaliseMenu(popup, *texts);
}

}  // namespace tarnix
