#include "platform/linux/dbus/dbus_link_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.messenger.dbus.debug=true").
Q_LOGGING_CATEGORY(lcDbusLink, "tarnix.messenger.dbus", QtInfoMsg)

}  // namespace tarnix
