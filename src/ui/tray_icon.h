#pragma once

#include <QIcon>
#include <QString>

#include <map>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace tarnix {

class Window;

// The tray pictures, by the icon ids the rest of the program knows them by.
namespace TrayIconId {
inline constexpr int Ready = 129;
inline constexpr int NoHandset = 130;
inline constexpr int NoMessenger = 131;
}  // namespace TrayIconId

// The program's icon in the desktop's notification area, with its popup menu. A double click
// posts a command to the owner window. Shown whether or not a tray host runs now: the icon is
// embedded when one appears.
class TrayIcon {
public:
    static constexpr int kDoubleClickCommand = 104;
    // At most this many loaded icons are kept; others are loaded again when needed.
    static constexpr std::size_t kIconCacheSize = 10;

    TrayIcon(Window& owner, std::unique_ptr<QMenu> menu, int iconId, const QString& tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void ShowIcon(int iconId, const QString& tip);

    int iconId() const { return iconId_; }
    QString tip() const;
    QMenu& menu() { return *menu_; }

private:
    QIcon icon(int iconId);

    Window& owner_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::map<int, QIcon> cache_;
    int iconId_ = 0;
};

}  // namespace tarnix
