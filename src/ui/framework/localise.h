#pragma once

class QMenu;
class QWidget;

namespace tarnix {

class LanguageTexts;

// Id of the language text of a submenu whose own text is "myLanguage".
inline constexpr int kLanguageSubmenuTextId = 65548;

// Gives every button, group box and label inside the window (at any depth) the text of its
// control id, also an empty one. Widgets without an id and all other classes (edits, tool
// buttons) keep their texts.
void LocaliseControls(QWidget& window, const LanguageTexts& texts);
// The same after putting the default GUI font on every child.
void LocaliseControlsWithDefaultFont(QWidget& window, const LanguageTexts* texts);
// Gives every item of the menu and its submenus the text of its command id; an item without a
// text whose own text is "myLanguage" takes the text and the id 65548.
void LocaliseMenu(QMenu& menu, const LanguageTexts& texts);

}  // namespace tarnix
