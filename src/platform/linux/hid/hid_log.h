#pragma once

#include <QLoggingCategory>

namespace tarnix {

Q_DECLARE_LOGGING_CATEGORY(lcHid)

}  // namespace tarnix
