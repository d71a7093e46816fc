// An incoming call from the messenger stand-in, rung, answered, dialled into and ended at the
// virtual handset, through the real program.
#include "call_road.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tarnix::test {
namespace {

using Messenger = CallRoad::Messenger;

// A ring volume and melody of our own, so the handset can only have them from the settings.
constexpr const char* kConfig =
    "<?xml version='1.0' encoding='UTF-8'?>\n<Config>\n<Tone Skype='7' QQ='0' Volume='80'/>\n</Config>\n";

std::size_t firstFrom(const Lines& lines, std::size_t from, const std::string& word, bool present = true)
{
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].starts_with("state ") && (lines[i].find(word) != std::string::npos) == present) return i;
    }
    return lines.size();
}

// Call 123 from alice rings as soon as the messenger has attached the program: the earliest a
// notification can come.
void ring(CallRoad& road)
{
    road.messenger("wait-attach");
    road.messenger("ring 123 alice");
}

// The call key answers the ringing call; the handset then shows the call in progress.
void answer(CallRoad& road, const std::string& inProgress)
{
    road.handset("press call");
    ASSERT_TRUE(road.messengerHas("CMD SET CALL 123 STATUS INPROGRESS"));
    ASSERT_TRUE(road.messengerHas("NOTIFY CALL 123 STATUS INPROGRESS"));
    ASSERT_TRUE(road.handsetShows(inProgress));
}

// A digit during call 123 goes to the messenger as a phone button and as a tone of the call.
void dialIntoTheCall(CallRoad& road, const std::string& digit)
{
    road.handset("press " + digit);
    ASSERT_TRUE(road.messengerHas("CMD BTN_PRESSED " + digit));
    ASSERT_TRUE(road.messengerHas("CMD BTN_RELEASED " + digit));
    ASSERT_TRUE(road.messengerHas("CMD SET CALL 123 DTMF " + digit));
}

// On a handset with a display.
void ringAndAnswer(CallRoad& road)
{
    ring(road);
    ASSERT_TRUE(road.handsetShows("ring=on"));
    answer(road, "ring=off light=on call=on bars=5 link=on");
}

TEST(CallRoad, RingsWithTheConfiguredVolumeFirstBlinksAndTheCallKeyAnswers)
{
    CallRoad road(4, Messenger::OnBus, {}, kConfig);
    ASSERT_EQ(road.failure(), "");
    ring(road);
    // 80 of 100 is the ringer's step 12 of 16.
    ASSERT_TRUE(road.handsetShows("ring=on melody=7 volume=12"));
    // The light blinks while it rings.
    ASSERT_TRUE(road.handsetShows("ring=on light=off"));
    ASSERT_TRUE(road.handsetShows("ring=on light=on"));
    ASSERT_NO_FATAL_FAILURE(answer(road, "ring=off light=on"));
    const std::size_t answered = road.handsetMark();
    road.handset("wait 500");
    EXPECT_TRUE(road.finish());

    // The volume is set before the melody starts, so the first ring is not at the old volume.
    const Lines& lines = road.handsetLines();
    const std::size_t volume = firstFrom(lines, 0, "volume=-", false);
    const std::size_t melody = firstFrom(lines, 0, "melody=-", false);
    const std::size_t ring = firstFrom(lines, 0, "ring=on");
    ASSERT_LT(volume, lines.size());
    EXPECT_LT(volume, melody) << lines[volume];
    EXPECT_LE(melody, ring);
    EXPECT_NE(lines[volume].find("melody=-"), std::string::npos) << lines[volume];
    EXPECT_EQ(firstFrom(lines, answered, "ring=on"), lines.size()) << "rang again after the answer";
}

TEST(CallRoad, DigitsGoAsDtmfTheHookEndsAndTheClockComesBack)
{
    CallRoad road(2);
    ASSERT_EQ(road.failure(), "");
    ASSERT_NO_FATAL_FAILURE(ringAndAnswer(road));

    ASSERT_NO_FATAL_FAILURE(dialIntoTheCall(road, "5"));
    ASSERT_TRUE(road.handsetShows("lcd=\"5\" call=on"));

    // The first hook event only tells the program where the handset is.
    road.handset("lift");
    road.handset("replace");
    ASSERT_TRUE(road.messengerHas("CMD HOOK ON"));
    // Dialled once more before the messenger ends the call: the end must clear it.
    ASSERT_NO_FATAL_FAILURE(dialIntoTheCall(road, "7"));
    ASSERT_TRUE(road.handsetShows("lcd=\"7\" call=on"));

    road.messenger("end 123");
    ASSERT_TRUE(road.messengerHas("NOTIFY CALL 123 STATUS FINISHED"));
    ASSERT_TRUE(road.handsetShowsClock("call=off light=off"));
    EXPECT_TRUE(road.finish());
    EXPECT_EQ(std::count(road.messengerLines().begin(), road.messengerLines().end(), "CMD HOOK ON"), 1);
}

TEST(CallRoad, ASecondCallDuringACallIsRefusedAndTheFirstGoesOn)
{
    CallRoad road(2);
    ASSERT_EQ(road.failure(), "");
    ASSERT_NO_FATAL_FAILURE(ringAndAnswer(road));
    const std::size_t answered = road.handsetMark();

    road.messenger("ring 124 bob");
    ASSERT_TRUE(road.messengerHas("NOTIFY CALL 124 STATUS RINGING"));
    ASSERT_TRUE(road.messengerHas("CMD SET CALL 124 STATUS FINISHED"));
    ASSERT_TRUE(road.messengerHas("NOTIFY CALL 124 STATUS FINISHED"));
    // The refused call's end leaves call 123 in progress: digits still reach it as tones.
    ASSERT_NO_FATAL_FAILURE(dialIntoTheCall(road, "5"));
    ASSERT_TRUE(road.handsetShows("lcd=\"5\" call=on light=on"));
    EXPECT_TRUE(road.finish());

    EXPECT_EQ(firstFrom(road.handsetLines(), answered, "ring=on"), road.handsetLines().size())
        << "the handset rang for the second call";
    EXPECT_EQ(std::count(road.messengerLines().begin(), road.messengerLines().end(),
                         "CMD SET CALL 123 STATUS FINISHED"),
              0);
}

TEST(CallRoad, AHandsetPluggedInAgainDuringACallShowsTheLinkAndKeepsDialling)
{
    CallRoad road(2);
    ASSERT_EQ(road.failure(), "");
    ASSERT_NO_FATAL_FAILURE(ringAndAnswer(road));

    road.handset("unplug");
    road.handset("wait 300");
    road.handset("plug");
    ASSERT_TRUE(road.handsetSays("> plug"));
    // A new handset starts blank; the program gives it the link to the messenger back.
    ASSERT_TRUE(road.handsetShows("bars=0 link=off"));
    ASSERT_TRUE(road.handsetShows("bars=5 link=on"));

    ASSERT_NO_FATAL_FAILURE(dialIntoTheCall(road, "5"));
    ASSERT_TRUE(road.handsetShows("lcd=\"5\""));
    EXPECT_TRUE(road.finish());
}

// A messenger that stalls past the command time-out while a digit is pressed: the program lets
// go of it, and the end of the call it says on waking is not heard. Attached again, the program
// learns the end from the messenger's list of active calls, and the next call rings.
TEST(CallRoad, AnEndSaidWhileTheMessengerStalledIsLearntAtReattachAndTheNextCallRings)
{
    CallRoad road(2);
    ASSERT_EQ(road.failure(), "");
    ASSERT_NO_FATAL_FAILURE(ringAndAnswer(road));

    // Long enough for a busy machine to get the digit to it well inside the stall.
    road.messenger("hang 2500");
    road.messenger("end 123");
    ASSERT_TRUE(road.messengerHas("EVENT hang"));
    road.handset("press 5");
    // Waking, the stand-in may take the queued commands (our attach among them) before or after
    // it says the end: only their count is checked below.
    ASSERT_TRUE(road.messengerHas("CMD SEARCH ACTIVECALLS"));
    ASSERT_NE(road.messengerLineStarting("REPLY CALLS"), "");
    ASSERT_TRUE(road.handsetShowsClock("call=off light=off"));

    road.messenger("ring 124 bob");
    ASSERT_TRUE(road.handsetShows("ring=on"));
    EXPECT_TRUE(road.finish());
    const auto said = [&](const char* line) {
        return std::count(road.messengerLines().begin(), road.messengerLines().end(), line);
    };
    EXPECT_EQ(said("NOTIFY CALL 123 STATUS FINISHED"), 1);
    EXPECT_EQ(said("CMD NAME TarnixUsbPhone"), 2);
    EXPECT_EQ(said("CMD SET CALL 124 STATUS FINISHED"), 0);
}

}  // namespace
}  // namespace tarnix::test
