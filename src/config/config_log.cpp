#include "config/config_log.h"

Q_LOGGING_CATEGORY(lcConfig, "tarnix.config")
