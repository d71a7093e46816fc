// The real program on the messenger stand-in's windows: keys of a virtual handset edit the entry
// box and close the pop-up and the main form on an X display of its own.
#include "call_road.h"
#include "tray_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnix::test {
namespace {

std::string windowOf(const std::string& line)
{
    return line.substr(line.rfind(' ') + 1);
}

TEST(MessengerWindows, HandsetKeysEditTheEntryBoxAndCloseThePopupThenTheMainForm)
{
    TrayDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    CallRoad road(2, CallRoad::Messenger::OnBus, display.name());
    ASSERT_EQ(road.failure(), "");

    const std::string form = windowOf(road.messengerLineStarting("WINDOW form 0x"));
    ASSERT_TRUE(form.starts_with("0x")) << form;
    // Keys pressed before the program has attached would be typed as keyboard presses instead;
    // it asks for the active calls once it has.
    ASSERT_TRUE(road.messengerHas("CMD SEARCH ACTIVECALLS"));
    road.messenger("entry 123");
    road.messenger("popup Call from alice");
    ASSERT_TRUE(road.messengerHas("WINDOW text 123"));
    const std::string popup = windowOf(road.messengerLineStarting("WINDOW popup 0x"));
    ASSERT_TRUE(popup.starts_with("0x")) << popup;

    // Delete takes a character off the entry box, Up moves the focus on from it, No empties it
    // and closes the pop-up, and putting the handset down closes the main form.
    for (const char* line : {"press delete", "press up", "press no", "lift", "replace"}) road.handset(line);
    for (const std::string& line :
         std::vector<std::string>{"WINDOW text 12", "WINDOW focus", "WINDOW tab", "WINDOW text",
                                  "WINDOW closed " + popup, "WINDOW closed " + form}) {
        ASSERT_TRUE(road.messengerHas(line));
    }
    EXPECT_TRUE(road.finish());
}

TEST(MessengerWindows, WithoutDisplayTheStandInSaysSoOnceAndWindowLinesDoNothing)
{
    CallRoad road(2);
    ASSERT_EQ(road.failure(), "");
    ASSERT_TRUE(road.handsetShows("link=on"));
    for (const char* line : {"popup Call", "entry 12", "iconify"}) road.messenger(line);
    EXPECT_TRUE(road.finish());
    const Lines events(
        road.messengerLines().begin(),
        road.messengerLines().begin() + std::min<std::ptrdiff_t>(2, road.messengerLines().size()));
    EXPECT_EQ(events, (Lines{"EVENT ready", "EVENT no display: no windows"}));
    for (const std::string& line : road.messengerLines()) EXPECT_FALSE(line.starts_with("WINDOW")) << line;
}

}  // namespace
}  // namespace tarnix::test
