#include "app/keyboard_emulator.h"

#include "device/handset_codes.h"
#include "key_name.h"
#include "recording_keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tarnix::test {
namespace {

using Events = Transcript;

Events shifted(const std::string& key)
{
    Events events{"key down LeftShift"};
    for (auto& e : keyPress(key)) {
        events.push_back(e);
    }
    events.push_back("key up LeftShift");
    return events;
}

struct KeyCase {
    int code;
    Events expected;
};

TEST(KeyboardEmulator, EveryHandsetKeyPressesItsKey)
{
    const KeyCase cases[] = {
        {Key0, keyPress("0")},       {Key1, keyPress("1")},          {Key5, keyPress("5")},
        {Key9, keyPress("9")},       {KeyStar, shifted("8")},        {KeyHash, shifted("3")},
        {KeyNo, keyPress("Escape")}, {KeyUp, keyPress("Up")},        {KeyYes, keyPress("Return")},
        {KeyDown, keyPress("Down")}, {KeyMute, keyPress("Numpad4")}, {KeyDelete, keyPress("Decimal")},
    };
    for (const auto& c : cases) {
        TranscriptLog log;
        RecordingKeys keys{log};
        std::int32_t hook = -1;
        KeyboardEmulator emulator(keys, hook);
        emulator.EmulateKey(c.code);
        EXPECT_EQ(log.take(), c.expected) << "key " << keyName(c.code);
        EXPECT_EQ(hook, -1) << "key " << keyName(c.code);
    }
}

struct HookStep {
    int code;
    Events expected;
    std::int32_t hookAfter;
};

TEST(KeyboardEmulator, HookChangesAcceptAndCancelAndRepeatsPressTheirOwnCode)
{
    const HookStep steps[] = {
        {HookOff, keyPress("Return"), 0},                              // lifted from an unknown state: Enter
        {HookOn, keyPress("Escape"), 1},                               // put down: Escape
        {HookOff, keyPress("Return"), 0},                              // lifted again: Enter
        {HookOff, keyPress("P"), 0},                                   // lifted while known to be lifted
        {HookOn, keyPress("Escape"), 1},  {HookOn, keyPress("F"), 1},  // put down while known to be down
    };
    TranscriptLog log;
    RecordingKeys keys{log};
    std::int32_t hook = -1;
    KeyboardEmulator emulator(keys, hook);
    int n = 0;
    for (const auto& step : steps) {
        emulator.EmulateKey(step.code);
        EXPECT_EQ(log.take(), step.expected) << "step " << n;
        EXPECT_EQ(hook, step.hookAfter) << "step " << n;
        ++n;
    }
}

TEST(KeyboardEmulator, HookStateIsTheOneSharedWithItsOwner)
{
    TranscriptLog log;
    RecordingKeys keys{log};
    std::int32_t hook = -1;
    KeyboardEmulator emulator(keys, hook);
    hook = 1;  // a messenger key mapping saw the handset put down
    emulator.EmulateKey(HookOn);
    EXPECT_EQ(log.take(), keyPress("F"));
    hook = 0;
    emulator.EmulateKey(HookOn);
    EXPECT_EQ(log.take(), keyPress("Escape"));
    EXPECT_EQ(hook, 1);
}

}  // namespace
}  // namespace tarnix::test
