#pragma once

#include <string_view>

namespace tarnix {

// Shows the user a failure the handset layer cannot handle itself (a message box with an error
// icon in the program).
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void showError(std::string_view title, std::string_view text) = 0;
};

}  // namespace tarnix
