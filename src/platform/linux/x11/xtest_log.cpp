#include "platform/linux/x11/xtest_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.app.xtest.debug=true").
Q_LOGGING_CATEGORY(lcXTest, "tarnix.app.xtest", QtInfoMsg)

}  // namespace tarnix
