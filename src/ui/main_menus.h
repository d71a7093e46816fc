#pragma once

#include <memory>

class QMenu;
class QMenuBar;

namespace tarnix {

class LanguageTexts;
class Window;

// The main window's menus, their command ids on the items.
namespace MenuCommand {
inline constexpr int About = 104;
inline constexpr int Exit = 105;
inline constexpr int TestHandset = 32772;
inline constexpr int Options = 32773;
inline constexpr int ToggleVoiceAnswering = 32786;
inline constexpr int ToggleTextAnswering = 32787;
inline constexpr int ShowMainWindow = 32788;
inline constexpr int CheckUpdate = 32793;
inline constexpr int English = 32794;
inline constexpr int SimpleChinese = 32795;
inline constexpr int TraditionalChinese = 32796;
}  // namespace MenuCommand

// The menu bar (109): "&File" with Options and Exit, "&Help" with About.
std::unique_ptr<QMenuBar> buildMenuBar(Window& owner);
// The tray popup (2002): Main window, Options, the language submenu, Test Usbphone, Check
// Update, About, Exit. The main-window item is ours: nothing else on this desktop offers it.
std::unique_ptr<QMenu> buildTrayMenu(Window& owner);

// What a popup shows as it opens.
struct PopupState {
    int language = 0;
    bool optionsEnabled = false;
};

// The steps run on a popup about to open: Test Usbphone goes for good, the current language is
// checked, Options is enabled only with ring settings, and the texts follow the language.
void PreparePopup(QMenu& popup, const PopupState& state, const LanguageTexts* texts);

}  // namespace tarnix
