#include "messenger/messenger_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.messenger.debug=true").
Q_LOGGING_CATEGORY(lcMessenger, "tarnix.messenger", QtInfoMsg)

}  // namespace tarnix
