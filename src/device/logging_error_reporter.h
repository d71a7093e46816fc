#pragma once

#include "device/error_reporter.h"

namespace tarnix {

// Reports errors to the log, for a program run without a user interface to show them.
class LoggingErrorReporter final : public ErrorReporter {
public:
    void showError(std::string_view title, std::string_view text) override;
};

}  // namespace tarnix
