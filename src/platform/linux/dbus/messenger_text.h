#pragma once

#include <QString>

#include <string>

namespace tarnix {

// A text the messenger handed us on the bus (a notification or a reply), as the Skype client
// takes it: UTF-8 bytes.
std::string messengerText(const QString& text);

}  // namespace tarnix
