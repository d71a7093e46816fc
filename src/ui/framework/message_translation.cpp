#include "ui/framework/message_translation.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWidget>

#include <utility>

namespace tarnix {
namespace {

constexpr std::pair<int, unsigned> kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08},    {Qt::Key_Tab, 0x09},         {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, 0x0D},       {Qt::Key_Enter, 0x0D},       {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},      {Qt::Key_Alt, 0x12},         {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},     {Qt::Key_Escape, 0x1B},      {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},       {Qt::Key_PageDown, 0x22},    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},         {Qt::Key_Left, 0x25},        {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},        {Qt::Key_Down, 0x28},        {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},       {Qt::Key_Delete, 0x2E},      {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},   {Qt::Key_Semicolon, 0xBA},   {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},         {Qt::Key_Comma, 0xBC},       {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},       {Qt::Key_Slash, 0xBF},       {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
};

constexpr std::pair<int, unsigned> kKeypadOperators[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

unsigned keyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    unsigned flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

// The lparam of a key message: repeat count, scan code, and the context, previous-state and
// transition bits.
LPARAM keyParam(const QKeyEvent& key, bool release)
{
    unsigned high = key.nativeScanCode() & 0xFF;
    if (key.modifiers() & Qt::AltModifier) high |= 1u << 13;
    if (release || key.isAutoRepeat()) high |= 1u << 14;
    if (release) high |= 1u << 15;
    const unsigned repeat = key.count() > 0 ? static_cast<unsigned>(key.count()) : 1u;
    return MAKELPARAM(repeat, high);
}

// Button messages come in threes (down, up, double click) per button, in this order.
unsigned buttonMessage(Qt::MouseButton button, int offset)
{
    switch (button) {
        case Qt::LeftButton:
            return WM_LBUTTONDOWN + offset;
        case Qt::RightButton:
            return WM_RBUTTONDOWN + offset;
        case Qt::MiddleButton:
            return WM_MBUTTONDOWN + offset;
        default:
            return 0;
    }
}

LPARAM pointParam(const QMouseEvent& mouse)
{
    const QPoint p = mouse.position().toPoint();
    return MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y()));
}

std::vector<Message> keyMessages(const QKeyEvent& key, bool release)
{
    const WPARAM vk = virtualKeyFromQt(key.key(), key.modifiers());
    if (release) {
        // Qt reports an auto-repeat as release and press; the window sees only repeated downs.
        if (key.isAutoRepeat()) return {};
        return {{WM_KEYUP, vk, keyParam(key, true)}};
    }
    std::vector<Message> out{{WM_KEYDOWN, vk, keyParam(key, false)}};
    const QString text = key.text();
    for (QChar unit : text) {
        out.push_back({WM_CHAR, unit.unicode(), keyParam(key, false)});
    }
    return out;
}

std::vector<Message> mouseMessages(const QMouseEvent& mouse, QEvent::Type type, bool doubleClicks)
{
    const WPARAM flags = keyFlags(mouse.buttons(), mouse.modifiers());
    unsigned id = 0;
    switch (type) {
        case QEvent::MouseMove:
            id = WM_MOUSEMOVE;
            break;
        case QEvent::MouseButtonPress:
            id = buttonMessage(mouse.button(), 0);
            break;
        case QEvent::MouseButtonRelease:
            id = buttonMessage(mouse.button(), 1);
            break;
        case QEvent::MouseButtonDblClick:
            id = buttonMessage(mouse.button(), doubleClicks ? 2 : 0);
            break;
        default:
            break;
    }
    if (id == 0) return {};
    return {{id, flags, pointParam(mouse)}};
}

}  // namespace

unsigned virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + static_cast<unsigned>(key - Qt::Key_0);
        for (const auto& [qt, vk] : kKeypadOperators) {
            if (qt == key) return vk;
        }
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<unsigned>(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<unsigned>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + static_cast<unsigned>(key - Qt::Key_F1);
    for (const auto& [qt, vk] : kNamedKeys) {
        if (qt == key) return vk;
    }
    return 0;
}

std::vector<Message> messagesFromEvent(const QWidget& widget, const QEvent& event, bool doubleClicks)
{
    switch (event.type()) {
        case QEvent::Resize: {
            const QSize size = static_cast<const QResizeEvent&>(event).size();
            const int type = widget.isMinimized()   ? SIZE_MINIMIZED
                             : widget.isMaximized() ? SIZE_MAXIMIZED
                                                    : SIZE_RESTORED;
            return {{WM_SIZE, static_cast<WPARAM>(type),
                     MAKELPARAM(static_cast<unsigned>(size.width()), static_cast<unsigned>(size.height()))}};
        }
        case QEvent::Paint:
            return {{WM_PAINT, 0, 0}};
        case QEvent::KeyPress:
            return keyMessages(static_cast<const QKeyEvent&>(event), false);
        case QEvent::KeyRelease:
            return keyMessages(static_cast<const QKeyEvent&>(event), true);
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return mouseMessages(static_cast<const QMouseEvent&>(event), event.type(), doubleClicks);
        default:
            return {};
    }
}

}  // namespace tarnix
