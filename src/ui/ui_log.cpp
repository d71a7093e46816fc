#include "ui/ui_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.ui.debug=true").
Q_LOGGING_CATEGORY(lcUi, "tarnix.ui", QtInfoMsg)

}  // namespace tarnix
