#include "platform/linux/hid/hid_logging.h"

Q_LOGGING_CATEGORY(lcHid, "tarnix.device.hid")
