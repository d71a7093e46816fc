#include "ui/framework/accelerator_filter.h"

#include "recording_window.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <memory>

namespace tarnix::test {
namespace {

enum class Target { Window, PlainChild, FrameworkChild, ForeignWindow };

constexpr int kCommand = 104;

// A framework window holding a plain button and a framework child window, and a plain window
// beside them; Alt+? and Alt+/ send one command.
class AcceleratorFilterTest : public UiTest {
protected:
    AcceleratorFilterTest()
    {
        outer.Create(0, QString(), QStringLiteral("outer"), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, 0);
        inner.Create(0, QString(), QString(), WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, outer.Handle(), 1);
        button = std::make_unique<QPushButton>(QStringLiteral("b"), outer.Handle()).release();
        QCoreApplication::instance()->installEventFilter(&filter);
    }
    ~AcceleratorFilterTest() override { QCoreApplication::instance()->removeEventFilter(&filter); }

    QWidget* widget(Target target)
    {
        switch (target) {
            case Target::Window:
                return outer.Handle();
            case Target::PlainChild:
                return button;
            case Target::FrameworkChild:
                return inner.Handle();
            case Target::ForeignWindow:
                return &foreign;
        }
        return nullptr;
    }

    AcceleratorFilter filter{{{u'?', kCommand}, {u'/', kCommand}}};
    RecordingWindow outer{loop};
    RecordingWindow inner{loop};
    QPushButton* button = nullptr;
    QWidget foreign;
};

TEST_F(AcceleratorFilterTest, AltWithQuestionMarkOrSlashSendsAboutToTheWindowTheKeyWasFor)
{
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        Target target;
        QStringList outerCommands;
        QStringList innerCommands;
    };
    const QStringList about{QStringLiteral("Command 104 1")};
    const Case cases[] = {
        {"Alt+?", Qt::Key_Question, Qt::AltModifier | Qt::ShiftModifier, "?", Target::Window, about, {}},
        {"Alt+/", Qt::Key_Slash, Qt::AltModifier, "/", Target::Window, about, {}},
        {"Alt+/ without text", Qt::Key_Slash, Qt::AltModifier, "", Target::Window, about, {}},
        {"Alt+? on a plain control",
         Qt::Key_Question,
         Qt::AltModifier | Qt::ShiftModifier,
         "?",
         Target::PlainChild,
         about,
         {}},
        {"Alt+? on a framework child",
         Qt::Key_Question,
         Qt::AltModifier | Qt::ShiftModifier,
         "?",
         Target::FrameworkChild,
         {},
         about},
        {"? alone", Qt::Key_Question, Qt::ShiftModifier, "?", Target::Window, {}, {}},
        {"Ctrl+Alt+/", Qt::Key_Slash, Qt::AltModifier | Qt::ControlModifier, "/", Target::Window, {}, {}},
        {"Alt+A", Qt::Key_A, Qt::AltModifier, "a", Target::Window, {}, {}},
        {"Alt+? on a window of no framework",
         Qt::Key_Question,
         Qt::AltModifier | Qt::ShiftModifier,
         "?",
         Target::ForeignWindow,
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        outer.calls.clear();
        inner.calls.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
        QApplication::sendEvent(widget(c.target), &press);
        EXPECT_EQ(outer.callsStartingWith("Command"), c.outerCommands);
        EXPECT_EQ(inner.callsStartingWith("Command"), c.innerCommands);
        // A key that became a command goes no further; any other key is typed as usual.
        const bool translated = !c.outerCommands.isEmpty() || !c.innerCommands.isEmpty();
        if (c.target == Target::Window) {
            EXPECT_EQ(outer.callsStartingWith("KeyDown").isEmpty(), translated);
        }
    }
}

}  // namespace
}  // namespace tarnix::test
