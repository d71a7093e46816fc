#include "program/program_application.h"

namespace tarnix {

bool ProgramApplication::notify(QObject* receiver, QEvent* event)
{
    if (!probe_.on()) return QApplication::notify(receiver, event);
    probe_.enter(receiver->metaObject()->className(), event->type());
    const bool handled = QApplication::notify(receiver, event);
    probe_.leave();
    return handled;
}

}  // namespace tarnix
