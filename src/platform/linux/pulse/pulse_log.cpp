#include "platform/linux/pulse/pulse_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.app.pulse.debug=true").
Q_LOGGING_CATEGORY(lcPulse, "tarnix.app.pulse", QtInfoMsg)

}  // namespace tarnix
