#include "ui/user_handle.h"

#include <QString>

namespace tarnix {

bool isSingleHandle(std::string_view utf8)
{
    const QString handle = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (handle.isEmpty()) return false;
    for (const QChar c : handle) {
        if (c.isSpace() || c == u',' || c.category() == QChar::Other_Control) return false;
    }
    return true;
}

}  // namespace tarnix
