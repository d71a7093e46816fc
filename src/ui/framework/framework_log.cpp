#include "ui/framework/framework_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.ui.framework.debug=true").
Q_LOGGING_CATEGORY(lcUiFramework, "tarnix.ui.framework", QtInfoMsg)

}  // namespace tarnix
