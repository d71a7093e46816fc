#include "ui/framework/message_translation.h"

#include "ui_test_support.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace tarnix::test {
namespace {

class MessageTranslationTest : public UiTest {};

TEST_F(MessageTranslationTest, QtKeysMapToVirtualKeys)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        unsigned vk;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, 0x41},
        {Qt::Key_Z, Qt::ShiftModifier, 0x5A},
        {Qt::Key_0, Qt::NoModifier, 0x30},
        {Qt::Key_9, Qt::NoModifier, 0x39},
        {Qt::Key_4, Qt::KeypadModifier, 0x64},
        {Qt::Key_Period, Qt::KeypadModifier, 0x6E},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 0x6A},
        {Qt::Key_Return, Qt::NoModifier, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {Qt::Key_Escape, Qt::NoModifier, 0x1B},
        {Qt::Key_Up, Qt::NoModifier, 0x26},
        {Qt::Key_Down, Qt::NoModifier, 0x28},
        {Qt::Key_F1, Qt::NoModifier, 0x70},
        {Qt::Key_F12, Qt::NoModifier, 0x7B},
        {Qt::Key_Slash, Qt::NoModifier, 0xBF},
        {Qt::Key_Question, Qt::ShiftModifier, 0xBF},
        {Qt::Key_Delete, Qt::NoModifier, 0x2E},
        {Qt::Key_yen, Qt::NoModifier, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyFromQt(c.key, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.key;
    }
}

TEST_F(MessageTranslationTest, KeyPressIsKeyDownThenOneCharacterPerUnit)
{
    QWidget widget;
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0x26, 0, 0, QStringLiteral("a"));
    const auto messages = messagesFromEvent(widget, press, true);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].id, WM_KEYDOWN);
    EXPECT_EQ(messages[0].wparam, 0x41u);
    EXPECT_EQ(LOWORD(static_cast<WPARAM>(messages[0].lparam)), 1u);
    EXPECT_EQ(HIWORD(static_cast<WPARAM>(messages[0].lparam)) & 0xFF, 0x26u) << "scan code";
    EXPECT_EQ(messages[1], (Message{WM_CHAR, 'a', messages[0].lparam}));

    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 0x26, 0, 0, QStringLiteral("a"));
    const auto up = messagesFromEvent(widget, release, true);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].id, WM_KEYUP);
    EXPECT_EQ(HIWORD(static_cast<WPARAM>(up[0].lparam)) & 0xC000, 0xC000u) << "previous state and transition";

    // Held keys repeat as key-downs only.
    const QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(), true);
    EXPECT_TRUE(messagesFromEvent(widget, repeatedRelease, true).empty());
    const QKeyEvent repeatedPress(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    const auto repeated = messagesFromEvent(widget, repeatedPress, true);
    ASSERT_EQ(repeated.size(), 1u);
    EXPECT_TRUE(HIWORD(static_cast<WPARAM>(repeated[0].lparam)) & 0x4000) << "key was already down";
}

TEST_F(MessageTranslationTest, DoubleClickNeedsTheClassStyle)
{
    QWidget widget;
    const QPointF at(7, 9);
    const QMouseEvent dbl(QEvent::MouseButtonDblClick, at, at, at, Qt::LeftButton, Qt::LeftButton,
                          Qt::ControlModifier);
    const LPARAM xy = MAKELPARAM(7, 9);
    EXPECT_EQ(messagesFromEvent(widget, dbl, true),
              (std::vector<Message>{{WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, xy}}));
    EXPECT_EQ(messagesFromEvent(widget, dbl, false),
              (std::vector<Message>{{WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, xy}}));

    const QMouseEvent right(QEvent::MouseButtonRelease, at, at, at, Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
    EXPECT_EQ(messagesFromEvent(widget, right, true), (std::vector<Message>{{WM_RBUTTONUP, 0, xy}}));
}

}  // namespace
}  // namespace tarnix::test
