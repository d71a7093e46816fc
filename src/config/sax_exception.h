#pragma once

#include <exception>

namespace tarnix {

// Thrown by XmlReader for malformed input; it carries no message, code or position.
class SAXException : public std::exception {
public:
    const char* what() const noexcept override { return "malformed XML"; }
};

}  // namespace tarnix
