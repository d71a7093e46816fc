#include "platform/linux/session/session_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.app.session.debug=true").
Q_LOGGING_CATEGORY(lcSession, "tarnix.app.session", QtInfoMsg)

}  // namespace tarnix
