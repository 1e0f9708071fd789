#pragma once

#include "ScreenRain.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace korval {

// The windows a front end made for the other screens' rain, one for each
// ScreenRain, found by its rain. A window is built in place and never moves,
// so a window that cannot be copied or moved (it has a handle the system
// knows) can be held; it goes when its screen does.
template <class Window>
class ScreenWindows {
public:
    // Makes the window of a screen that came from the arguments; a window
    // that cannot be made leaves nothing behind.
    template <class... Arguments>
    Window& add(const ScreenRain& screen, Arguments&&... arguments)
    {
        return windows_.try_emplace(&screen, std::forward<Arguments>(arguments)...).first->second;
    }

    // The screen went: its window goes too. Nothing happens for a screen
    // without a window.
    void remove(const ScreenRain& screen) { windows_.erase(&screen); }

    // The window of that screen's rain, or null.
    Window* find(const ScreenRain* screen)
    {
        const auto found = windows_.find(screen);
        return found == windows_.end() ? nullptr : &found->second;
    }

    // The windows of these rains that have one, in the rains' order.
    std::vector<Window*> inOrderOf(const std::vector<std::unique_ptr<ScreenRain>>& rains)
    {
        std::vector<Window*> ordered;
        ordered.reserve(rains.size());
        for (const std::unique_ptr<ScreenRain>& rain : rains) {
            if (Window* window = find(rain.get()))
                ordered.push_back(window);
        }
        return ordered;
    }

private:
    std::map<const ScreenRain*, Window> windows_;
};

} // namespace korval
