#include "app/keyboard_emulator.h"

#include "app/key_injector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tarnix {
namespace {

// Writes down every key event as "+0x30" (down), "-0x30" (up) and "~10" (pause).
class RecordingInjector final : public KeyInjector {
public:
    void keyDown(int virtualKey) override { events.push_back("+" + hex(virtualKey)); }
    void keyUp(int virtualKey) override { events.push_back("-" + hex(virtualKey)); }
    void pause(int ms) override { events.push_back("~" + std::to_string(ms)); }

    std::vector<std::string> events;

private:
    static std::string hex(int key)
    {
        char text[8];
        std::snprintf(text, sizeof text, "0x%02X", key);
        return text;
    }
};

using Events = std::vector<std::string>;

Events pressOf(const std::string& key)
{
    return {"+" + key, "~10", "-" + key};
}

Events shifted(const std::string& key)
{
    Events events{"+0xA0"};
    for (auto& e : pressOf(key)) {
        events.push_back(e);
    }
    events.push_back("-0xA0");
    return events;
}

struct KeyCase {
    int code;
    Events expected;
};

TEST(KeyboardEmulator, EveryHandsetKeyPressesItsKey)
{
    const KeyCase cases[] = {
        {0, pressOf("0x30")},  {1, pressOf("0x31")},  {5, pressOf("0x35")},   {9, pressOf("0x39")},
        {20, shifted("0x38")}, {21, shifted("0x33")}, {30, pressOf("0x1B")},  {40, pressOf("0x26")},
        {50, pressOf("0x0D")}, {60, pressOf("0x28")}, {100, pressOf("0x64")}, {110, pressOf("0x6E")},
    };
    for (const auto& c : cases) {
        RecordingInjector keys;
        std::int32_t hook = -1;
        KeyboardEmulator emulator(keys, hook);
        emulator.EmulateKey(c.code);
        EXPECT_EQ(keys.events, c.expected) << "code " << c.code;
        EXPECT_EQ(hook, -1) << "code " << c.code;
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
        {80, pressOf("0x0D"), 0},                            // lifted from an unknown state: Enter
        {70, pressOf("0x1B"), 1},                            // put down: Escape
        {80, pressOf("0x0D"), 0},                            // lifted again: Enter
        {80, pressOf("0x50"), 0},                            // lifted while known to be lifted
        {70, pressOf("0x1B"), 1}, {70, pressOf("0x46"), 1},  // put down while known to be down
    };
    RecordingInjector keys;
    std::int32_t hook = -1;
    KeyboardEmulator emulator(keys, hook);
    int n = 0;
    for (const auto& step : steps) {
        keys.events.clear();
        emulator.EmulateKey(step.code);
        EXPECT_EQ(keys.events, step.expected) << "step " << n;
        EXPECT_EQ(hook, step.hookAfter) << "step " << n;
        ++n;
    }
}

TEST(KeyboardEmulator, HookStateIsTheOneSharedWithItsOwner)
{
    RecordingInjector keys;
    std::int32_t hook = -1;
    KeyboardEmulator emulator(keys, hook);
    hook = 1;  // a messenger key mapping saw the handset put down
    emulator.EmulateKey(70);
    EXPECT_EQ(keys.events, pressOf("0x46"));
    hook = 0;
    keys.events.clear();
    emulator.EmulateKey(70);
    EXPECT_EQ(keys.events, pressOf("0x1B"));
    EXPECT_EQ(hook, 1);
}

}  // namespace
}  // namespace tarnix
