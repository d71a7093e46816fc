#include "ui/handset_light_blinker.h"

#include "handset_test_rig.h"
#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarnix::test {
namespace {

class HandsetLightBlinkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.bus.plug(handset);
        rig.start();
    }
    // The light sampled every 250 ms: '#' lit, '.' dark.
    std::string sample(int count)
    {
        std::string lights;
        for (int i = 0; i < count; ++i) {
            lights += handset->light() ? '#' : '.';
            rig.loop.advance(250);
        }
        return lights;
    }

    HandsetTestRig rig;
    std::shared_ptr<sim::VirtualBasicHandset> handset = std::make_shared<sim::VirtualBasicHandset>();
    HandsetLightBlinker blinker{rig.loop, rig.channel()};
};

TEST_F(HandsetLightBlinkerTest, ModesLightTheHandsetInTheirPatterns)
{
    struct Case {
        int mode;
        const char* lights;
        bool timer;
    };
    const Case cases[] = {
        {1, "##..##..##..", true},  {2, "##....##....", true}, {-1, "############", false},
        {0, "............", false}, {3, "############", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        blinker.SetHandsetLightMode(c.mode);
        EXPECT_EQ(rig.loop.isTimerActive({&blinker, HandsetLightBlinker::kBlinkTimerId}), c.timer);
        EXPECT_EQ(sample(12), c.lights);
    }
}

TEST_F(HandsetLightBlinkerTest, ANewModeRestartsThePatternLit)
{
    blinker.SetHandsetLightMode(2);
    rig.loop.advance(600);
    EXPECT_FALSE(handset->light());
    blinker.SetHandsetLightMode(1);
    EXPECT_EQ(sample(4), "##..");
    blinker.SetHandsetLightMode(0);
    EXPECT_FALSE(rig.loop.isTimerActive({&blinker, HandsetLightBlinker::kBlinkTimerId}));
    EXPECT_EQ(sample(4), "....");
}

}  // namespace
}  // namespace tarnix::test
