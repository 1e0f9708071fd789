#include "Form1.h"

#include "Grid.h"

#include <algorithm>

// How the saver form covers every screen and follows the screens while it
// runs: the form's own grid on the primary screen, a ScreenRain on each
// other one.
namespace korval {
namespace {

// The rain of the screen of that name, or the end.
auto rainOf(std::vector<std::unique_ptr<ScreenRain>>& rains, const std::string& name)
{
    return std::find_if(rains.begin(), rains.end(), [&](const auto& rain) { return rain && rain->name() == name; });
}

} // namespace

// Every screen after the first (the primary) gets its rain, seeded in the
// order the platform lists them, after the form's own columns.
void Form1::coverOtherScreens(const std::vector<ScreenArea>& screens)
{
    for (std::size_t i = 1; i < screens.size(); ++i)
        otherScreens_.push_back(newScreenRain(screens[i]));
}

// A screen's rain, with a window of its own, topmost like the form's.
std::unique_ptr<ScreenRain> Form1::newScreenRain(const ScreenArea& area)
{
    auto rain = std::make_unique<ScreenRain>(M1[0], area, platform_.random());
    windows_.screenAdded(*rain);
    SetTopMost(rain.get(), true);
    return rain;
}

// Screens that came get a window and a fresh grid, screens that went lose
// theirs, screens that moved or changed size take their window along and
// get a grid for their new size. Another primary screen takes the form, and
// with it the banner. While no screen is left (every monitor asleep) the
// windows stay as they are, waiting for the screens to come back.
void Form1::followScreens()
{
    const std::vector<ScreenArea> screens = platform_.screens();
    if (screens.empty())
        return;
    const ScreenArea& primary = screens.front();

    std::vector<std::unique_ptr<ScreenRain>> kept;
    for (std::size_t i = 1; i < screens.size(); ++i) {
        const auto known = rainOf(otherScreens_, screens[i].name);
        if (known != otherScreens_.end()) {
            (*known)->cover(screens[i], platform_.random());
            kept.push_back(std::move(*known));
        } else {
            kept.push_back(newScreenRain(screens[i]));
        }
    }
    for (const std::unique_ptr<ScreenRain>& gone : otherScreens_) {
        if (gone)
            windows_.screenRemoved(*gone);
    }
    otherScreens_ = std::move(kept);
    coverPrimary(primary);
    windows_.screensFollowed();
}

void Form1::coverPrimary(const ScreenArea& area)
{
    const bool resized = area.twips() != area_.twips();
    area_ = area;
    Width = area.twips().width;
    Height = area.twips().height;
    if (resized)
        rebuildGrid(state, M1, area.twips(), platform_.random());
    if (Label1.isVisible())
        centreBanner();
}

} // namespace korval
