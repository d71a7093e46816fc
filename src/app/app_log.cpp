#include "app/app_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.app.debug=true").
Q_LOGGING_CATEGORY(lcApp, "tarnix.app", QtInfoMsg)

}  // namespace tarnix
