#pragma once

#include <QLoggingCategory>

namespace tarnix {

Q_DECLARE_LOGGING_CATEGORY(lcProgram)

}  // namespace tarnix
