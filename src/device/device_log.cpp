#include "device/device_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.device.debug=true").
Q_LOGGING_CATEGORY(lcDevice, "tarnix.device", QtInfoMsg)

}  // namespace tarnix
