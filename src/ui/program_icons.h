#pragma once

#include <QIcon>

namespace tarnix {

// The program's pictures, drawn from the SVG files compiled into it, so they stay crisp at any
// scale. An unknown index or id gives a null icon.

// The nine toolbar images: 0 voice answering off, 1 on, 2 text answering off, 3 on, 4 make
// call, 5 stop, 6 play, 7 delete, 8 send instant message.
QIcon toolbarIcon(int index);
// The list's images: 0 new message, 1 played message.
QIcon recordIcon(int index);
// The window's icon (107 elsewhere).
QIcon windowIcon();
// The tray's pictures by TrayIconId.
QIcon trayPicture(int iconId);

}  // namespace tarnix
