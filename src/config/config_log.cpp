#include "config/config_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.config.debug=true").
Q_LOGGING_CATEGORY(lcConfig, "tarnix.config", QtInfoMsg)

}  // namespace tarnix
