#include "platform/linux/dbus/dbus_instance_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.app.dbus.debug=true").
Q_LOGGING_CATEGORY(lcDbusInstance, "tarnix.app.dbus", QtInfoMsg)

}  // namespace tarnix
