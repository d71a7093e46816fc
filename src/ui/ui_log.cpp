#include "ui/ui_log.h"

namespace tarnix {

Q_LOGGING_CATEGORY(lcUi, "tarnix.ui")

}  // namespace tarnix
