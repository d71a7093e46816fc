#include "ui/framework/slider_control.h"

#include "recording_window.h"
#include "ui/framework/window_class.h"
#include "ui_test_support.h"

#include <QSlider>
#include <QTest>

namespace tarnix::test {
namespace {

class SliderControlTest : public UiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.Create(0, QString(), QString(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, 0));
    }

    RecordingWindow owner{loop};
};

TEST_F(SliderControlTest, NewSliderRunsFromZeroToHundredWithPagesOfFive)
{
    SliderControl slider(loop);
    ASSERT_TRUE(slider.Create(owner.Handle(), 101, 20, 20, 20, 95, true));
    auto* widget = qobject_cast<QSlider*>(slider.Handle());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(classNameOf(*widget), "msctls_trackbar32");
    EXPECT_EQ(widget->parentWidget(), owner.Handle());
    EXPECT_EQ(widget->geometry(), QRect(20, 20, 20, 95));
    EXPECT_EQ(widget->orientation(), Qt::Vertical);
    EXPECT_EQ(widget->minimum(), 0);
    EXPECT_EQ(widget->maximum(), 100);
    EXPECT_EQ(widget->pageStep(), 5);
    EXPECT_EQ(widget->tickPosition(), QSlider::NoTicks);
    EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(slider.GetPosition(), 0);
    EXPECT_EQ(owner.GetDlgItem(101), widget);
}

TEST_F(SliderControlTest, PositionsAreClampedBothWays)
{
    SliderControl slider(loop);
    EXPECT_EQ(slider.GetPosition(), 0) << "no control";
    slider.SetPosition(40);  // harmless without a control
    ASSERT_TRUE(slider.Create(owner.Handle(), 2008, 0, 0, 100, 20, false));
    for (auto [set, expected] : {std::pair{-5, 0}, {0, 0}, {50, 50}, {100, 100}, {130, 100}}) {
        slider.SetPosition(set);
        EXPECT_EQ(slider.GetPosition(), expected) << "set " << set;
    }

    // A taken-over slider keeps its range; reading still clamps.
    QSlider wide(Qt::Horizontal, owner.Handle());
    wide.setRange(-50, 200);
    SliderControl takenOver(loop);
    ASSERT_TRUE(takenOver.Attach(&wide));
    for (auto [value, expected] : {std::pair{150, 100}, {-20, 0}, {60, 60}}) {
        wide.setValue(value);
        EXPECT_EQ(takenOver.GetPosition(), expected) << "value " << value;
    }
}

TEST_F(SliderControlTest, MovingTheSliderTellsTheOwnerWhereItIsNow)
{
    struct Case {
        bool vertical;
        Qt::Key key;
        QString first;
        int position;
    };
    // Vertical sliders have 0 at the top, so Down moves towards 100.
    const Case cases[] = {
        {true, Qt::Key_Down, "VScroll 1 0", 1},
        {true, Qt::Key_PageDown, "VScroll 3 0", 5},
        {false, Qt::Key_Right, "HScroll 1 0", 1},
        {false, Qt::Key_End, "HScroll 7 0", 100},
    };
    for (const Case& c : cases) {
        SliderControl slider(loop);
        ASSERT_TRUE(slider.Create(owner.Handle(), 101, 0, 0, 20, 100, c.vertical));
        int seen = -1;
        owner.calls.clear();
        QTest::keyClick(slider.Handle(), c.key);
        seen = slider.GetPosition();
        const QStringList scrolls = owner.callsStartingWith(c.vertical ? "VScroll" : "HScroll");
        ASSERT_EQ(scrolls.size(), 2) << owner.calls.join(", ").toStdString();
        EXPECT_EQ(scrolls[0], c.first);
        EXPECT_EQ(scrolls[1], QStringLiteral("%1 8 0").arg(c.vertical ? "VScroll" : "HScroll"));
        EXPECT_EQ(owner.lastControl, slider.Handle());
        EXPECT_EQ(seen, c.position);
    }
}

TEST_F(SliderControlTest, SettingThePositionSendsNoScrollMessage)
{
    SliderControl slider(loop);
    ASSERT_TRUE(slider.Create(owner.Handle(), 101, 0, 0, 20, 100, true));
    owner.calls.clear();
    slider.SetPosition(70);
    EXPECT_TRUE(owner.callsStartingWith("VScroll").isEmpty());
}

}  // namespace
}  // namespace tarnix::test
