#include "program/program_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.program.debug=true").
Q_LOGGING_CATEGORY(lcProgram, "tarnix.program", QtInfoMsg)

}  // namespace tarnix
