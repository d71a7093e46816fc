#include "answering/answering_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.answering.debug=true").
Q_LOGGING_CATEGORY(lcAnswering, "tarnix.answering", QtInfoMsg)

}  // namespace tarnix
