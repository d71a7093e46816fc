#include "platform/linux/x11/x11_windows_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.messenger.x11.debug=true").
Q_LOGGING_CATEGORY(lcX11Windows, "tarnix.messenger.x11", QtInfoMsg)

}  // namespace tarnix
