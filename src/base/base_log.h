#pragma once

#include <QLoggingCategory>

namespace tarnix {

Q_DECLARE_LOGGING_CATEGORY(lcBase)

}  // namespace tarnix
