#include "ui/framework/accelerator_filter.h"

#include "ui/framework/window.h"

#include <QKeyEvent>
#include <QWidget>

namespace tarnix {
namespace {

// The character the key types: its text, or, for a key event without text, the character of
// the key code (Qt codes printable ASCII keys by their character).
char16_t typedCharacter(const QKeyEvent& key)
{
    if (!key.text().isEmpty()) return key.text().at(0).unicode();
    return key.key() > 0 && key.key() < 0x80 ? static_cast<char16_t>(key.key()) : 0;
}

Window* framedWindowOf(QObject* object)
{
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(o)) {
            if (Window* window = Window::FromHandle(widget)) return window;
            if (widget->isWindow()) return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // Shift may be needed to type the character; Control or Meta make it another key.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::AltModifier) return false;
    const char16_t character = typedCharacter(key);
    for (const Accelerator& accelerator : table_) {
        if (accelerator.character != character) continue;
        Window* window = framedWindowOf(watched);
        if (!window) return false;
        // High word 1: the command comes from an accelerator.
        window->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(accelerator.command), 1), 0);
        return true;
    }
    return false;
}

}  // namespace tarnix
