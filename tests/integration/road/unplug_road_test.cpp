// The handset pulled out in every state of a call, and pulled out and put back fifty times while
// a call rings: the program must neither crash nor hang nor keep what it had open, and the
// handset put back must answer the next call.
#include "call_road.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnix::test {
namespace {

using Messenger = CallRoad::Messenger;

// The ringer's volume (80 of 100: step 12) and melody come from here, so a ring is recognisable.
constexpr const char* kConfig =
    "<?xml version='1.0' encoding='UTF-8'?>\n<Config>\n<Tone Skype='7' QQ='0' Volume='80'/>\n</Config>\n";

CallRoad::Extras withProgramLog()
{
    CallRoad::Extras extras;
    extras.programLog = true;
    return extras;
}

// The handset that came back was found and shown the link to the messenger.
void replugged(CallRoad& road, int model)
{
    road.handset("wait 150");
    road.handset("plug");
    ASSERT_TRUE(road.handsetSays("tarnix.device: handset model " + std::to_string(model) + " found"));
    if (model == 2) {
        ASSERT_TRUE(road.handsetShows("bars=5 link=on"));
    }
}

// The call key answers call id, ringing at the messenger; the messenger hears the answer.
void callKeyAnswers(CallRoad& road, int id)
{
    const std::string call = "CALL " + std::to_string(id) + " STATUS INPROGRESS";
    road.handset("press call");
    ASSERT_TRUE(road.messengerHas("CMD SET " + call));
    ASSERT_TRUE(road.messengerHas("NOTIFY " + call));
}

// Call id rings the handset and the call key answers it; the messenger then ends it.
void nextCallRingsAndIsAnswered(CallRoad& road, int id, const std::string& ringing = "ring=on")
{
    road.messenger("ring " + std::to_string(id) + " bob");
    ASSERT_TRUE(road.handsetShows(ringing));
    ASSERT_NO_FATAL_FAILURE(callKeyAnswers(road, id));
    ASSERT_TRUE(road.handsetShows("ring=off"));
    road.messenger("end " + std::to_string(id));
    ASSERT_TRUE(road.messengerHas("NOTIFY CALL " + std::to_string(id) + " STATUS FINISHED"));
}

class UnplugRoad : public ::testing::Test {
protected:
    // Model 2 with the messenger attached and the link shown.
    void SetUp() override
    {
        ASSERT_EQ(road.failure(), "");
        road.messenger("wait-attach");
        // Sent once the program has attached: from then on the handset's keys go to the messenger.
        ASSERT_TRUE(road.messengerHas("CMD SEARCH ACTIVECALLS"));
        descriptors = road.programDescriptors();
        ASSERT_GT(descriptors, 0);
    }
    // Nothing the gone handsets had open is kept: a few descriptors of slack for what the
    // program opens once, later.
    void expectNoDescriptorKept()
    {
        EXPECT_LE(road.programDescriptors(), descriptors + 3) << "was " << descriptors;
        EXPECT_TRUE(road.finish());
    }

    CallRoad road{2, Messenger::OnBus, {}, kConfig, withProgramLog()};
    int descriptors = 0;
};

TEST_F(UnplugRoad, PulledOutIdleRingingAndInACallTheHandsetPutBackAnswersTheNextCall)
{
    // The first hook events only tell the program where the handset is.
    road.handset("lift");
    road.handset("wait 100");
    road.handset("replace");
    road.handset("wait 100");
    road.handset("unplug");
    ASSERT_NO_FATAL_FAILURE(replugged(road, 2));
    // The handset put back is lifted and hung up in its first reports: both are heard.
    road.handset("lift");
    ASSERT_TRUE(road.messengerHas("CMD HOOK OFF"));
    road.handset("replace");
    ASSERT_TRUE(road.messengerHas("CMD HOOK ON"));
    ASSERT_NO_FATAL_FAILURE(nextCallRingsAndIsAnswered(road, 123));
    ASSERT_TRUE(road.handsetShowsClock("call=off"));

    // Ringing: the call still rings at the messenger, and the handset put back answers it.
    road.messenger("ring 124 carol");
    ASSERT_TRUE(road.handsetShows("ring=on"));
    road.handset("unplug");
    ASSERT_NO_FATAL_FAILURE(replugged(road, 2));
    ASSERT_NO_FATAL_FAILURE(callKeyAnswers(road, 124));

    // In the call: digits still reach it as tones, and its end brings the clock back.
    road.handset("unplug");
    ASSERT_NO_FATAL_FAILURE(replugged(road, 2));
    road.handset("press 5");
    ASSERT_TRUE(road.messengerHas("CMD SET CALL 124 DTMF 5"));
    road.messenger("end 124");
    ASSERT_TRUE(road.handsetShowsClock("call=off"));

    ASSERT_NO_FATAL_FAILURE(nextCallRingsAndIsAnswered(road, 125));
    expectNoDescriptorKept();
}

// A digit makes the program write the display; the handset goes at points from before the
// program has read the key to after the number is shown.
TEST_F(UnplugRoad, PulledOutWhileTheDisplayIsWrittenTheHandsetPutBackAnswersTheNextCall)
{
    for (const char* gap : {"0", "1", "3", "10"}) {
        SCOPED_TRACE(gap);
        road.handset("press 7");
        road.handset(std::string("wait ") + gap);
        road.handset("unplug");
        ASSERT_NO_FATAL_FAILURE(replugged(road, 2));
    }
    // The number dialled so far outlives the handsets: it ends in the 8.
    road.handset("press 8");
    road.handset("expect 8\" call=off");
    road.handset("unplug");
    ASSERT_NO_FATAL_FAILURE(replugged(road, 2));

    ASSERT_NO_FATAL_FAILURE(nextCallRingsAndIsAnswered(road, 123));
    ASSERT_TRUE(road.handsetShowsClock("call=off"));
    expectNoDescriptorKept();
}

TEST_F(UnplugRoad, AStormOfFiftyReplugsWhileACallRingsLeavesTheCallKeyAnswering)
{
    road.messenger("ring 123 alice");
    ASSERT_TRUE(road.handsetShows("ring=on"));
    road.handset("storm 50 40");
    // The states after the last plug are the last handset's.
    ASSERT_TRUE(road.handsetSays("plugged model=2 node=/dev/hidraw50"));
    ASSERT_TRUE(road.handsetShows("bars=5 link=on"));
    ASSERT_NO_FATAL_FAILURE(callKeyAnswers(road, 123));
    road.messenger("end 123");
    ASSERT_TRUE(road.handsetShowsClock("call=off"));
    ASSERT_NO_FATAL_FAILURE(nextCallRingsAndIsAnswered(road, 124));
    expectNoDescriptorKept();
}

// Model 4 writes the melody 100 ms after the ringer's volume; the handset goes in between.
TEST(UnplugRoadModel4, PulledOutInTheSettlePauseTheHandsetPutBackAnswers)
{
    CallRoad road(4, Messenger::OnBus, {}, kConfig, withProgramLog());
    ASSERT_EQ(road.failure(), "");
    road.messenger("wait-attach");
    ASSERT_TRUE(road.messengerHas("EVENT attached"));
    const int descriptors = road.programDescriptors();
    road.handset("expect volume=12");
    road.handset("unplug");
    road.messenger("ring 123 alice");
    ASSERT_TRUE(road.handsetSays("unplugged node=/dev/hidraw0"));
    for (std::size_t i = 0; i < road.handsetMark(); ++i) {
        EXPECT_EQ(road.handsetLines()[i].find("melody=7"), std::string::npos)
            << "the melody came before the handset went: " << road.handsetLines()[i];
    }
    ASSERT_NO_FATAL_FAILURE(replugged(road, 4));
    ASSERT_NO_FATAL_FAILURE(callKeyAnswers(road, 123));
    road.messenger("end 123");
    ASSERT_TRUE(road.messengerHas("NOTIFY CALL 123 STATUS FINISHED"));

    ASSERT_NO_FATAL_FAILURE(nextCallRingsAndIsAnswered(road, 124, "ring=on melody=7 volume=12"));
    EXPECT_LE(road.programDescriptors(), descriptors + 3) << "was " << descriptors;
    EXPECT_TRUE(road.finish());
}

}  // namespace
}  // namespace tarnix::test
