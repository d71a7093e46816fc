#include "messenger/messenger_windows_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.messenger.windows.debug=true").
Q_LOGGING_CATEGORY(lcMessengerWindows, "tarnix.messenger.windows", QtInfoMsg)

}  // namespace tarnix
