#include "fake_window_system.h"

#include <algorithm>
#include <stdexcept>

namespace tarnix {

WindowId FakeWindowSystem::add(FakeWindow window)
{
    windows_.push_back({nextId_, std::move(window)});
    return nextId_++;
}

void FakeWindowSystem::remove(WindowId window)
{
    for (const WindowId inner : descendants(window)) {
        std::erase_if(windows_, [inner](const Entry& e) { return e.id == inner; });
    }
    std::erase_if(windows_, [window](const Entry& e) { return e.id == window; });
}

FakeWindow& FakeWindowSystem::at(WindowId window)
{
    for (auto& e : windows_) {
        if (e.id == window) {
            return e.window;
        }
    }
    throw std::out_of_range("no such fake window");
}

const FakeWindow* FakeWindowSystem::find(WindowId window) const
{
    const auto it =
        std::find_if(windows_.begin(), windows_.end(), [window](const Entry& e) { return e.id == window; });
    return it == windows_.end() ? nullptr : &it->window;
}

std::vector<WindowId> FakeWindowSystem::topLevelWindows(std::int64_t pid)
{
    ++listings;
    std::vector<WindowId> result;
    for (const auto& e : windows_) {
        if (e.window.parent == 0 && e.window.pid == pid) {
            result.push_back(e.id);
        }
    }
    return result;
}

std::vector<WindowId> FakeWindowSystem::descendants(WindowId window)
{
    std::vector<WindowId> result;
    for (const auto& e : windows_) {
        if (e.window.parent == window) {
            result.push_back(e.id);
            const auto inner = descendants(e.id);
            result.insert(result.end(), inner.begin(), inner.end());
        }
    }
    return result;
}

std::string FakeWindowSystem::className(WindowId window)
{
    const auto* w = find(window);
    return w ? w->className : std::string();
}

std::string FakeWindowSystem::title(WindowId window)
{
    const auto* w = find(window);
    return w ? w->title : std::string();
}

WindowId FakeWindowSystem::owner(WindowId window)
{
    const auto* w = find(window);
    return w ? w->owner : 0;
}

bool FakeWindowSystem::exists(WindowId window)
{
    return find(window) != nullptr;
}

std::int64_t FakeWindowSystem::process(WindowId window)
{
    const auto* w = find(window);
    return w ? w->pid : 0;
}

bool FakeWindowSystem::visible(WindowId window)
{
    const auto* w = find(window);
    return w && w->visible;
}

bool FakeWindowSystem::minimised(WindowId window)
{
    const auto* w = find(window);
    return w && w->minimised;
}

void FakeWindowSystem::close(WindowId window)
{
    actions.push_back("close " + std::to_string(window));
}

void FakeWindowSystem::focus(WindowId window)
{
    actions.push_back("focus " + std::to_string(window));
}

void FakeWindowSystem::sendKey(WindowId window, EditKey key)
{
    const char* name = key == EditKey::SelectAll   ? "SelectAll"
                       : key == EditKey::Backspace ? "Backspace"
                                                   : "Tab";
    actions.push_back("key " + std::to_string(window) + " " + name);
}

}  // namespace tarnix
