#include "platform/linux/hid/hid_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.device.hid.debug=true").
Q_LOGGING_CATEGORY(lcHid, "tarnix.device.hid", QtInfoMsg)

}  // namespace tarnix
