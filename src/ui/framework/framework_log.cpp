#include "ui/framework/framework_log.h"

namespace tarnix {

Q_LOGGING_CATEGORY(lcUiFramework, "tarnix.ui.framework")

}  // namespace tarnix
