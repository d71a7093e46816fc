#include "platform/linux/dbus/messenger_text.h"

namespace tarnix {

std::string messengerText(const QString& text)
{
    return text.toStdString();
}

}  // namespace tarnix
