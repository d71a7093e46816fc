#include "device/logging_error_reporter.h"

#include "device/device_log.h"

namespace tarnix {

void LoggingErrorReporter::showError(std::string_view title, std::string_view text)
{
    qCCritical(lcDevice).noquote() << QString::fromUtf8(title.data(), qsizetype(title.size())) << ":"
                                   << QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace tarnix
