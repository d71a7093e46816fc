#include "messenger/messenger_log.h"

Q_LOGGING_CATEGORY(lcMessenger, "tarnix.messenger")
