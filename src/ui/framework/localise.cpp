#include "ui/framework/localise.h"

#include "ui/framework/control_id.h"
#include "ui/framework/language_texts.h"
#include "ui/framework/window_text.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace tarnix {
namespace {

// What the window manager elsewhere calls the "Button" and "Static" classes. Tool buttons are
// the toolbar's: their ids sit on their actions, where a dialog's control may share them.
bool isButtonOrStatic(const QWidget& widget)
{
    if (qobject_cast<const QToolButton*>(&widget)) return false;
    return qobject_cast<const QAbstractButton*>(&widget) || qobject_cast<const QGroupBox*>(&widget) ||
           qobject_cast<const QLabel*>(&widget);
}

}  // namespace

void LocaliseControls(QWidget& window, const LanguageTexts& texts)
{
    const auto children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        // A widget without an id would otherwise take the text of an item whose id is missing.
        const int id = controlId(*child);
        if (id == 0 || !isButtonOrStatic(*child)) continue;
        if (const std::optional<QString> text = texts.text(id)) setWindowText(*child, *text);
    }
}

void LocaliseControlsWithDefaultFont(QWidget& window, const LanguageTexts* texts)
{
    const auto children = window.findChildren<QWidget*>();
    for (QWidget* child : children) child->setFont(QApplication::font());
    if (texts) LocaliseControls(window, *texts);
}

void LocaliseMenu(QMenu& menu, const LanguageTexts& texts)
{
    const auto actions = menu.actions();
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        // Items without an id (submenus) are never looked up under 0.
        const int id = controlId(*action);
        std::optional<QString> text = id != 0 ? texts.text(id) : std::nullopt;
        if (text) {
            action->setText(*text);
        } else if (action->text().compare(QLatin1String("myLanguage"), Qt::CaseInsensitive) == 0) {
            if ((text = texts.text(kLanguageSubmenuTextId))) {
                action->setText(*text);
                action->setProperty(kControlIdProperty, kLanguageSubmenuTextId);
            }
        }
        if (QMenu* submenu = action->menu()) LocaliseMenu(*submenu, texts);
    }
}

}  // namespace tarnix
