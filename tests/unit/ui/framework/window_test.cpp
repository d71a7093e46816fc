#include "ui/framework/window.h"

#include "recording_window.h"
#include "ui/framework/control_id.h"
#include "ui/framework/window_class.h"
#include "ui_test_support.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

namespace tarnix::test {
namespace {

class WindowTest : public UiTest {
protected:
    // A hidden top-level framework window of the default class.
    void createTopLevel(Window& window, int width = 200, int height = 100)
    {
        ASSERT_TRUE(window.Create(0, QString(), QStringLiteral("test"), WS_OVERLAPPEDWINDOW, 0, 0, width,
                                  height, nullptr, 0));
    }
};

TEST_F(WindowTest, EachMessageReachesItsHandlerWithUnpackedArguments)
{
    RecordingWindow window(loop);
    createTopLevel(window);
    window.calls.clear();
    const auto xy = [](int x, int y) {
        return MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y));
    };
    struct Case {
        Message message;
        QString expected;
    };
    const Case cases[] = {
        {{WM_SIZE, SIZE_MAXIMIZED, xy(640, 480)}, "Size 2 640 480"},
        {{WM_KEYDOWN, 0x41, MAKELPARAM(3, 0x1E)}, "KeyDown 65 3 30"},
        {{WM_KEYUP, 0x41, MAKELPARAM(1, 0xC01E)}, "KeyUp 65 1 49182"},
        {{WM_CHAR, 'a', MAKELPARAM(1, 0x1E)}, "Char 97 1 30"},
        {{WM_COMMAND, MAKEWPARAM(104, 1), 0}, "Command 104 1"},
        {{WM_TIMER, 1002, 0}, "Timer 1002"},
        {{WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 42), 0}, "HScroll 5 42"},
        {{WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0}, "VScroll 3 0"},
        // Moves and presses carry signed coordinates, a double click unsigned ones.
        {{WM_MOUSEMOVE, MK_SHIFT, xy(-3, 7)}, "MouseMove -3 7 4"},
        {{WM_LBUTTONDOWN, MK_LBUTTON, xy(5, -2)}, "LButtonDown 5 -2 1"},
        {{WM_LBUTTONUP, 0, xy(5, 6)}, "LButtonUp 5 6 0"},
        {{WM_LBUTTONDBLCLK, MK_LBUTTON, xy(-1, 2)}, "LButtonDblClk 65535 2 1"},
        {{MSG_MOUSE_LEFT, 0, 0}, "MouseLeave"},
        {{WM_USER + 20, 1, 2}, "DefaultProc 1044"},
        {{WM_RBUTTONUP, 0, xy(1, 1)}, "DefaultProc 517"},
    };
    for (const Case& c : cases) {
        window.calls.clear();
        window.SendMessage(c.message.id, c.message.wparam, c.message.lparam);
        EXPECT_EQ(window.calls.value(0), c.expected) << "message " << c.message.id;
    }
    EXPECT_EQ(window.SendMessage(WM_COMMAND, 1, 0), 7) << "a command returns its handler's result";
}

TEST_F(WindowTest, QtInputArrivesAsMessages)
{
    RecordingWindow window(loop);
    createTopLevel(window);
    QWidget* w = window.Handle();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    window.calls.clear();

    QTest::keyClick(w, Qt::Key_A);
    const QStringList keys = window.callsStartingWith("Key") + window.callsStartingWith("Char");
    ASSERT_EQ(keys.size(), 3);
    EXPECT_TRUE(keys[0].startsWith("KeyDown 65 1")) << keys[0].toStdString();
    EXPECT_TRUE(keys[1].startsWith("KeyUp 65 1")) << keys[1].toStdString();
    EXPECT_TRUE(keys[2].startsWith("Char 97 1")) << keys[2].toStdString();

    window.calls.clear();
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(12, 34));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(12, 34));
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    const QStringList buttons = window.callsStartingWith("LButton");
    EXPECT_EQ(buttons.value(0), "LButtonDown 12 34 1");
    EXPECT_EQ(buttons.value(1), "LButtonUp 12 34 0");
    EXPECT_EQ(window.callsStartingWith("LButtonDblClk 3 4").size(), 1) << buttons.join(", ").toStdString();

    window.calls.clear();
    w->resize(321, 123);
    processQtEvents();
    EXPECT_TRUE(window.calls.contains("Size 0 321 123")) << window.calls.join(", ").toStdString();
}

// Swallows digits typed into the control it takes over, the rest goes to the control.
class DigitFilter : public Window {
public:
    using Window::Window;
    void OnChar(unsigned character, unsigned repeatCount, unsigned flags) override
    {
        if (character >= '0' && character <= '9') return;
        Window::OnChar(character, repeatCount, flags);
    }
};

TEST_F(WindowTest, TakenOverControlKeepsItsOwnHandlingOfWhatTheObjectLeaves)
{
    QWidget parent;
    QLineEdit edit(&parent);
    parent.show();
    DigitFilter filter(loop);
    ASSERT_TRUE(filter.Attach(&edit));
    QTest::keyClicks(&edit, "a1b2");
    EXPECT_EQ(edit.text(), "ab");

    DigitFilter second(loop);
    EXPECT_FALSE(second.Attach(&edit)) << "one object per widget";
}

TEST_F(WindowTest, MouseLeaveIsPostedOnceToTheWindowTheMouseLeft)
{
    RecordingWindow a(loop);
    RecordingWindow b(loop);
    createTopLevel(a);
    createTopLevel(b);
    const LPARAM at = MAKELPARAM(5, 5);

    a.SendMessage(WM_MOUSEMOVE, 0, at);
    a.SendMessage(WM_MOUSEMOVE, 0, at);
    b.SendMessage(WM_MOUSEMOVE, 0, at);
    b.SendMessage(WM_MOUSEMOVE, 0, at);
    EXPECT_TRUE(a.callsStartingWith("MouseLeave").isEmpty()) << "posted, not sent";
    loop.runPending();
    EXPECT_EQ(a.callsStartingWith("MouseLeave").size(), 1);
    EXPECT_TRUE(b.callsStartingWith("MouseLeave").isEmpty());

    a.SendMessage(WM_MOUSEMOVE, 0, at);
    loop.runPending();
    EXPECT_EQ(a.callsStartingWith("MouseLeave").size(), 1);
    EXPECT_EQ(b.callsStartingWith("MouseLeave").size(), 1);

    // A window destroyed meanwhile is not written to.
    a.DestroyWindow();
    b.SendMessage(WM_MOUSEMOVE, 0, at);
    loop.runPending();
    EXPECT_EQ(a.callsStartingWith("MouseLeave").size(), 1);
}

TEST_F(WindowTest, TimersFireByIdOnTheLoopClockAndEndWithTheWindow)
{
    RecordingWindow window(loop);
    EXPECT_FALSE(window.SetTimer(1001, 500)) << "no window yet";
    createTopLevel(window);
    window.calls.clear();
    ASSERT_TRUE(window.SetTimer(1001, 500));
    ASSERT_TRUE(window.SetTimer(1002, 2000));
    loop.advance(2000);
    EXPECT_EQ(window.callsStartingWith("Timer 1001").size(), 4);
    EXPECT_EQ(window.callsStartingWith("Timer 1002").size(), 1);

    EXPECT_TRUE(window.KillTimer(1001));
    EXPECT_FALSE(window.KillTimer(1001));
    loop.advance(2000);
    EXPECT_EQ(window.callsStartingWith("Timer 1001").size(), 4);
    EXPECT_EQ(window.callsStartingWith("Timer 1002").size(), 2);

    window.DestroyWindow();
    EXPECT_FALSE(loop.isTimerActive({&window, 1002}));
}

TEST_F(WindowTest, PostedMessagesArriveInOrderAndAreDroppedForAGoneWindow)
{
    RecordingWindow window(loop);
    createTopLevel(window);
    window.calls.clear();
    window.PostMessage(WM_COMMAND, 104, 0);
    window.PostMessage(WM_TIMER, 9, 0);
    EXPECT_TRUE(window.calls.isEmpty());
    loop.runPending();
    EXPECT_EQ(window.calls, (QStringList{"Command 104 0", "Timer 9"}));

    window.PostMessage(WM_COMMAND, 105, 0);
    window.DestroyWindow();
    window.calls.clear();
    loop.runPending();
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_FALSE(window.PostMessage(WM_COMMAND, 105, 0));
}

TEST_F(WindowTest, ButtonCommandsCarryTheControlIdAndTheControl)
{
    RecordingWindow window(loop);
    createTopLevel(window);
    QPushButton button(QStringLiteral("OK"), window.Handle());
    setControlId(button, 1088);
    window.Handle()->show();
    window.calls.clear();

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(window.callsStartingWith("Command"), QStringList{"Command 1088 0"});
    EXPECT_EQ(window.lastControl, &button);
    EXPECT_EQ(window.GetDlgItem(1088), &button);

    // Menu items and accelerators send their id without a control.
    QAction about;
    window.BindCommand(about, 104);
    window.lastControl = &button;
    about.trigger();
    EXPECT_EQ(window.callsStartingWith("Command").last(), "Command 104 0");
    EXPECT_EQ(window.lastControl, nullptr);

    // A posted number that is no child of the window is not taken for a control.
    int unrelated = 0;
    window.SendMessage(WM_COMMAND, 1088, reinterpret_cast<LPARAM>(&unrelated));
    EXPECT_EQ(window.lastControl, nullptr);
}

TEST_F(WindowTest, CreationFollowsPreCreateOnCreateAndTheClass)
{
    RecordingWindow refused(loop);
    refused.refuseCreation = true;
    EXPECT_FALSE(refused.Create(0, QString(), QString(), 0, 0, 0, 10, 10, nullptr, 0));
    EXPECT_EQ(refused.calls, (QStringList{"PreCreate", "CreateFailed"}));
    EXPECT_EQ(refused.Handle(), nullptr);

    RecordingWindow failing(loop);
    failing.createResult = -1;
    EXPECT_FALSE(failing.Create(0, QString(), QStringLiteral("t"), 0, 0, 0, 10, 10, nullptr, 0));
    EXPECT_EQ(failing.calls.value(1), "Create t");
    EXPECT_EQ(failing.Handle(), nullptr);

    RecordingWindow unknown(loop);
    EXPECT_FALSE(unknown.Create(0, QStringLiteral("NoSuchClass"), QString(), 0, 0, 0, 10, 10, nullptr, 0));

    RecordingWindow child(loop);
    QWidget parent;
    ASSERT_TRUE(child.Create(0, QString(), QString(), WS_CHILD | WS_VISIBLE, 3, 4, 50, 60, &parent, 2008));
    EXPECT_EQ(child.Handle()->parentWidget(), &parent);
    EXPECT_EQ(child.Handle()->geometry(), QRect(3, 4, 50, 60));
    EXPECT_EQ(controlId(*child.Handle()), 2008);
    EXPECT_EQ(classNameOf(*child.Handle()), QString::fromLatin1(kDefaultClassName));

    // A control made by its system class name carries the title as its text and reports clicks.
    RecordingWindow owner(loop);
    ASSERT_TRUE(
        owner.Create(0, QString(), QString(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, 0));
    Window button(loop);
    ASSERT_TRUE(button.Create(0, QStringLiteral("Button"), QStringLiteral("Ring on"), WS_CHILD | WS_VISIBLE,
                              10, 10, 80, 24, owner.Handle(), 1006));
    auto* push = qobject_cast<QPushButton*>(button.Handle());
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->text(), "Ring on");
    const QImage face = push->grab().toImage();
    EXPECT_NE(face.pixel(40, 12), face.pixel(1, 1)) << "the button draws its face and caption";
    owner.calls.clear();
    QTest::mouseClick(push, Qt::LeftButton);
    EXPECT_EQ(owner.callsStartingWith("Command"), QStringList{"Command 1006 0"});
}

TEST_F(WindowTest, DestructionForgetsTheWidgetWhicheverSideGoesFirst)
{
    // Closing a plain window destroys it.
    RecordingWindow closed(loop);
    createTopLevel(closed);
    const QPointer<QWidget> closedWidget = closed.Handle();
    closedWidget->close();
    processQtEvents();
    EXPECT_EQ(closed.Handle(), nullptr);
    EXPECT_EQ(closed.callsStartingWith("Destroy").size(), 1);
    EXPECT_TRUE(closedWidget.isNull());

    // The widget goes with its parent.
    auto parent = std::make_unique<QWidget>();
    RecordingWindow child(loop);
    ASSERT_TRUE(child.Create(0, QString(), QString(), WS_CHILD, 0, 0, 10, 10, parent.get(), 1));
    RecordingWindow host(loop);
    ASSERT_TRUE(host.Create(0, QString(), QString(), WS_CHILD, 0, 0, 10, 10, child.Handle(), 2));
    parent.reset();
    EXPECT_EQ(child.Handle(), nullptr);
    EXPECT_EQ(child.callsStartingWith("Destroy").size(), 1);
    EXPECT_EQ(host.Handle(), nullptr);

    // Destroying a window tells the framework windows inside it, each once.
    RecordingWindow outer(loop);
    createTopLevel(outer);
    RecordingWindow inner(loop);
    ASSERT_TRUE(inner.Create(0, QString(), QString(), WS_CHILD, 0, 0, 10, 10, outer.Handle(), 1));
    outer.DestroyWindow();
    EXPECT_EQ(inner.Handle(), nullptr);
    EXPECT_EQ(inner.callsStartingWith("Destroy").size(), 1);
    EXPECT_EQ(outer.callsStartingWith("Destroy").size(), 1);

    // The object goes first.
    QPointer<QWidget> orphan;
    {
        RecordingWindow shortLived(loop);
        createTopLevel(shortLived);
        orphan = shortLived.Handle();
        shortLived.SetTimer(1001, 10);
    }
    EXPECT_TRUE(orphan.isNull());
    loop.advance(100);  // its timer is gone with it
}

// Destroys its own window from inside its handlers.
class SelfDestroying : public Window {
public:
    using Window::Window;
    void OnLButtonDown(int, int, unsigned) override { DestroyWindow(); }
    void OnTimer(int) override { DestroyWindow(); }
};

TEST_F(WindowTest, WindowDestroyedByItsOwnHandlerGoesOnceTheEventIsOver)
{
    SelfDestroying clicked(loop);
    ASSERT_TRUE(
        clicked.Create(0, QString(), QString(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(clicked.Handle()));
    const QPointer<QWidget> widget = clicked.Handle();
    QTest::mouseClick(widget.data(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicked.Handle(), nullptr);
    processQtEvents();
    EXPECT_TRUE(widget.isNull());

    SelfDestroying ticking(loop);
    ASSERT_TRUE(ticking.Create(0, QString(), QString(), WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, 0));
    ticking.SetTimer(1001, 100);
    loop.advance(500);
    EXPECT_EQ(ticking.Handle(), nullptr);
    EXPECT_FALSE(loop.isTimerActive({&ticking, 1001}));
}

// Paints a red square at (10, 10) and remembers where it was asked to paint.
class SquarePainter : public Window {
public:
    explicit SquarePainter(EventLoop& loop, bool doubleBuffered) : Window(loop)
    {
        SetDoubleBuffered(doubleBuffered);
    }
    void OnDraw(QPainter& dc) override
    {
        seenRect = UpdateRect();
        dc.fillRect(QRect(10, 10, 20, 20), Qt::red);
    }
    QRect seenRect;
};

TEST_F(WindowTest, DoubleBufferedPaintingStartsFromWhiteAndCopiesTheBuffer)
{
    struct Case {
        bool doubleBuffered;
        QColor corner;  // a pixel the drawing does not touch
    };
    const QColor background(10, 120, 200);
    for (const Case& c : {Case{true, Qt::white}, Case{false, background}}) {
        SquarePainter window(loop, c.doubleBuffered);
        ASSERT_TRUE(window.Create(0, QString(), QString(), WS_OVERLAPPEDWINDOW, 0, 0, 60, 50, nullptr, 0));
        QPalette palette = window.Handle()->palette();
        palette.setColor(QPalette::Window, background);
        window.Handle()->setPalette(palette);
        window.Handle()->show();
        const QImage shot = window.Handle()->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(15, 15)), QColor(Qt::red)) << "double-buffered " << c.doubleBuffered;
        EXPECT_EQ(QColor(shot.pixel(2, 2)), c.corner) << "double-buffered " << c.doubleBuffered;
        EXPECT_EQ(window.seenRect, QRect(0, 0, 60, 50));
        EXPECT_TRUE(window.UpdateRect().isNull()) << "only while painting";
    }
}

TEST_F(WindowTest, CentresOnAnotherWindowOrElseOnTheDesktop)
{
    RecordingWindow window(loop);
    createTopLevel(window, 100, 50);
    QWidget other;
    other.setGeometry(200, 100, 300, 200);

    window.CenterWindow(&other);
    EXPECT_EQ(window.Handle()->pos(), QPoint(300, 175));

    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QWidget empty;
    empty.setGeometry(0, 0, 0, 0);
    window.CenterWindow(&empty);
    EXPECT_EQ(window.Handle()->pos(), QPoint((desktop.width() - 100) / 2, (desktop.height() - 50) / 2));
}

}  // namespace
}  // namespace tarnix::test
