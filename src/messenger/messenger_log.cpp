#include "messenger/messenger_log.h"

// Every command and notification is logged at debug level, which is off unless asked for
// (QT_LOGGING_RULES="tarnix.messenger.debug=true").
Q_LOGGING_CATEGORY(lcMessenger, "tarnix.messenger", QtInfoMsg)
