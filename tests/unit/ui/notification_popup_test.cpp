#include "ui/notification_popup.h"

#include "ui_test_support.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <functional>
#include <vector>

namespace tarnix::test {
namespace {

constexpr int kSlide = NotificationPopup::kSlideMs;

// Where a panel of that size rests once it has slid in.
QPoint restingPlace(int width, int height)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return {area.x() + area.width() - width - 10, area.y() + area.height() - height - 35};
}

class NotificationPopupTest : public UiTest {
protected:
    // Far from the bottom right corner, where the panels appear.
    void SetUp() override { QCursor::setPos(0, 0); }
    void TearDown() override { processQtEvents(); }

    void advanceTo(std::int64_t ms) { loop.advance(ms - loop.nowMs()); }
    // How far the panel's top is below its resting place; 0 once it is in.
    static int sunk(const NotificationPopup& popup)
    {
        return popup.Handle()->y() - restingPlace(180, 120).y();
    }

    NotificationPopup popup{loop};
};

TEST_F(NotificationPopupTest, FirstShowMakesAFramelessToolPanelAboveTheBottomRightCorner)
{
    EXPECT_EQ(popup.Handle(), nullptr);
    popup.ShowPopup();
    QWidget* panel = popup.Handle();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->windowType(), Qt::Tool);
    EXPECT_TRUE(panel->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(loop.timerPeriod({static_cast<Window*>(&popup), NotificationPopup::TIMER_POPUP}), 1000);
    loop.advance(kSlide);
    EXPECT_EQ(panel->pos(), restingPlace(180, 120));
    EXPECT_EQ(panel->size(), QSize(180, 120)) << "the whole panel shows once it is in";
}

TEST_F(NotificationPopupTest, RisesFromItsBottomEdgeOverEightHundredMilliseconds)
{
    popup.ShowPopup();
    ASSERT_TRUE(popup.Handle()->isVisible());
    for (int rows : {30, 60, 90}) {
        advanceTo(rows * kSlide / 120);
        SCOPED_TRACE(loop.nowMs());
        EXPECT_EQ(sunk(popup), 120 - rows);
        EXPECT_EQ(popup.Handle()->size(), QSize(180, rows)) << "nothing shows below the edge";
        EXPECT_TRUE(popup.IsShown());
    }
    advanceTo(kSlide);
    EXPECT_EQ(sunk(popup), 0);
}

// The panel stays while something happens to it and goes once the idle time has passed since the
// last tick that saw activity: the first tick (1 s) sees the showing itself.
TEST_F(NotificationPopupTest, SlidesDownAndClosesEightSecondsAfterTheLastTickWithActivity)
{
    using Activity = std::function<void(NotificationPopup&)>;
    const struct {
        const char* name;
        Activity activity;
        int goesAt;  // ms after showing
    } cases[] = {
        {"none", nullptr, 9000},
        {"mouse move", [](NotificationPopup& p) { p.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 60)); },
         14000},
        {"button down",
         [](NotificationPopup& p) { p.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 60)); }, 14000},
        {"button up", [](NotificationPopup& p) { p.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 60)); },
         14000},
        {"shown again", [](NotificationPopup& p) { p.ShowPopup(); }, 14000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NotificationPopup panel(loop);
        const std::int64_t shown = loop.nowMs();
        panel.ShowPopup();
        advanceTo(shown + 5500);
        if (c.activity) c.activity(panel);
        advanceTo(shown + c.goesAt - 1);
        ASSERT_TRUE(panel.IsShown());
        EXPECT_EQ(sunk(panel), 0);
        loop.advance(1);
        EXPECT_FALSE(panel.IsShown());
        EXPECT_TRUE(panel.Handle()->isVisible()) << "it slides, it does not vanish";
        loop.advance(kSlide / 2);
        EXPECT_EQ(sunk(panel), 60);
        loop.advance(kSlide / 2);
        EXPECT_EQ(panel.Handle(), nullptr) << "closed once it is down";
    }
}

TEST_F(NotificationPopupTest, StaysWhileTheCursorIsOverItAndGoesEightSecondsAfter)
{
    popup.ShowPopup();
    loop.advance(kSlide);
    QCursor::setPos(popup.Handle()->geometry().center());
    advanceTo(30500);
    ASSERT_TRUE(popup.IsShown());
    QCursor::setPos(0, 0);
    advanceTo(30000 + 8000 - 1);
    EXPECT_TRUE(popup.IsShown());
    loop.advance(1);
    EXPECT_FALSE(popup.IsShown());
}

TEST_F(NotificationPopupTest, ShowingWhileItSlidesDownRaisesItFromWhereItWas)
{
    popup.ShowPopup();
    advanceTo(9000 + kSlide / 2);
    ASSERT_EQ(sunk(popup), 60);
    const QWidget* panel = popup.Handle();
    popup.ShowPopup();
    EXPECT_EQ(popup.Handle(), panel);
    EXPECT_TRUE(popup.IsShown());
    EXPECT_EQ(sunk(popup), 60);
    loop.advance(kSlide / 4);
    EXPECT_EQ(sunk(popup), 30);
    loop.advance(kSlide / 4);
    EXPECT_EQ(sunk(popup), 0);
    advanceTo(9000 + kSlide * 2);
    EXPECT_TRUE(popup.IsShown()) << "the showing counted as activity";
}

// The close box spans (right - 20, top + 5) to (right - 5, top + 20), ends excluded.
TEST_F(NotificationPopupTest, APressInTheCloseBoxClosesAtOnceAndOnlyThere)
{
    const struct {
        QPoint at;
        bool closes;
    } presses[] = {
        {{160, 5}, true},   {{174, 19}, true}, {{167, 12}, true},  {{159, 12}, false},
        {{175, 12}, false}, {{167, 4}, false}, {{167, 20}, false}, {{20, 60}, false},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(QString("%1,%2").arg(press.at.x()).arg(press.at.y()).toStdString());
        popup.ShowPopup();
        loop.advance(kSlide);
        QTest::mousePress(popup.Handle(), Qt::LeftButton, {}, press.at);
        EXPECT_EQ(popup.Handle() == nullptr, press.closes);
        processQtEvents();
    }
    popup.ShowPopup();
    EXPECT_NE(popup.Handle(), nullptr) << "a closed panel is made anew";
}

}  // namespace
}  // namespace tarnix::test
