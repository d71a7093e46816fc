#pragma once

#include "messenger/window_system.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnix {

struct FakeWindow {
    std::int64_t pid = 0;
    std::string className;
    std::string title;
    WindowId parent = 0;  // 0: a top-level window
    WindowId owner = 0;
    bool visible = true;
    bool minimised = false;
};

// Windows in memory, listed in the order they were added; what is done to them is written down
// as lines ("close 3", "focus 4", "key 4 Backspace").
class FakeWindowSystem final : public WindowSystem {
public:
    // Returns the new window's id (1, 2, ...).
    WindowId add(FakeWindow window);
    // Removes the window and everything inside it.
    void remove(WindowId window);
    FakeWindow& at(WindowId window);

    std::vector<std::string> actions;
    int listings = 0;  // calls of topLevelWindows

    std::vector<WindowId> topLevelWindows(std::int64_t pid) override;
    std::vector<WindowId> descendants(WindowId window) override;
    std::string className(WindowId window) override;
    std::string title(WindowId window) override;
    WindowId owner(WindowId window) override;
    bool exists(WindowId window) override;
    std::int64_t process(WindowId window) override;
    bool visible(WindowId window) override;
    bool minimised(WindowId window) override;
    void close(WindowId window) override;
    void focus(WindowId window) override;
    void sendKey(WindowId window, EditKey key) override;

private:
    const FakeWindow* find(WindowId window) const;

    struct Entry {
        WindowId id;
        FakeWindow window;
    };
    std::vector<Entry> windows_;
    WindowId nextId_ = 1;
};

}  // namespace tarnix
