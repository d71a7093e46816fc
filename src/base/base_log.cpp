#include "base/base_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.base.debug=true").
Q_LOGGING_CATEGORY(lcBase, "tarnix.base", QtInfoMsg)

}  // namespace tarnix
