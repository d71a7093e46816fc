#include "base/base_log.h"

namespace tarnix {

Q_LOGGING_CATEGORY(lcBase, "tarnix.base")

}  // namespace tarnix
