#pragma once

#include "ui/framework/window_constants.h"

#include <Qt>

#include <vector>

class QEvent;
class QWidget;

namespace tarnix {

// The messages one Qt event stands for: a key press is a key-down followed by one character
// message per UTF-16 unit it types; events with no message give none. `doubleClicks` is the
// class style: without it a double click arrives as a second button press.
std::vector<Message> messagesFromEvent(const QWidget& widget, const QEvent& event, bool doubleClicks);

// The virtual-key code of a Qt key (keypad digits and operators by the keypad modifier); 0 when
// the key has none.
unsigned virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);

}  // namespace tarnix
