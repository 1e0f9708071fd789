#include "Form1.h"

#include "Grid.h"

#include <optional>

// How the saver form covers every screen and follows the screens while it
// runs: the form's own grid on the primary screen, a ScreenRain on each
// other one.
//
// A change is built whole before any of it is taken: new rains, grids for
// new sizes and the windows of screens that came. Only then does the form
// take them, in steps that cannot fail. A failure while building (no memory
// for the grid of a large new screen) leaves every rain and window as it
// was, so that the error's message box shows over whole grids.
namespace korval {
namespace {

// What becomes of one other screen in a change: the rain made for a screen
// that came, or the one it keeps, with a grid for its new size when that
// changed.
struct ScreenPlan {
    ScreenArea area;
    std::unique_ptr<ScreenRain> made;
    std::size_t kept = 0; // index in the rains that ran, when none was made
    std::optional<FreshGrid> grid;
};

// The index of the rain of the screen of that name that no plan keeps yet,
// or the count of rains.
std::size_t rainOf(const std::vector<std::unique_ptr<ScreenRain>>& rains, std::vector<bool>& taken,
                   const std::string& name)
{
    for (std::size_t i = 0; i < rains.size(); ++i) {
        if (!taken[i] && rains[i]->name() == name) {
            taken[i] = true;
            return i;
        }
    }
    return rains.size();
}

} // namespace

// Every screen after the first (the primary) gets its rain, seeded in the
// order the platform lists them, after the form's own columns.
void Form1::coverOtherScreens(const std::vector<ScreenArea>& screens)
{
    std::vector<std::unique_ptr<ScreenRain>> rains;
    rains.reserve(screens.size());
    for (std::size_t i = 1; i < screens.size(); ++i)
        rains.push_back(std::make_unique<ScreenRain>(M1[0], screens[i], platform_.random()));
    showScreenRains(rains);
    otherScreens_ = std::move(rains);
}

// A window for each new rain, topmost like the form's. If one cannot be made,
// those made before it go again and the failure goes on.
void Form1::showScreenRains(const std::vector<std::unique_ptr<ScreenRain>>& rains)
{
    std::size_t shown = 0;
    try {
        for (const std::unique_ptr<ScreenRain>& rain : rains) {
            if (!rain)
                continue;
            windows_.screenAdded(*rain);
            ++shown;
            SetTopMost(rain.get(), true);
        }
    } catch (...) {
        for (const std::unique_ptr<ScreenRain>& rain : rains) {
            if (rain && shown > 0) {
                windows_.screenRemoved(*rain);
                --shown;
            }
        }
        throw;
    }
}

// Screens that came get a window and a fresh grid, screens that went lose
// theirs, screens that moved or changed size take their window along and
// get a grid for their new size. Another primary screen takes the form, and
// with it the banner. While no screen is left (every monitor asleep) the
// windows stay as they are, waiting for the screens to come back.
void Form1::followScreens()
{
    std::vector<ScreenArea> screens = platform_.screens();
    if (screens.empty())
        return;

    // What may fail, the grids drawn in the order of the screens, the
    // primary one last.
    std::vector<ScreenPlan> plans(screens.size() - 1);
    std::vector<bool> taken(otherScreens_.size(), false);
    for (std::size_t i = 0; i < plans.size(); ++i) {
        ScreenPlan& plan = plans[i];
        plan.area = screens[i + 1];
        plan.kept = rainOf(otherScreens_, taken, plan.area.name);
        if (plan.kept == otherScreens_.size())
            plan.made = std::make_unique<ScreenRain>(M1[0], plan.area, platform_.random());
        else if (plan.area.twips() != otherScreens_[plan.kept]->area().twips())
            plan.grid.emplace(freshGrid(M1, plan.area.twips(), platform_.random()));
    }
    std::optional<FreshGrid> primaryGrid;
    if (screens.front().twips() != area_.twips())
        primaryGrid.emplace(freshGrid(M1, screens.front().twips(), platform_.random()));
    std::vector<std::unique_ptr<ScreenRain>> rains(plans.size());
    for (std::size_t i = 0; i < plans.size(); ++i)
        rains[i] = std::move(plans[i].made);
    showScreenRains(rains);

    // The change itself, which cannot fail.
    for (std::size_t i = 0; i < plans.size(); ++i) {
        if (!rains[i]) {
            rains[i] = std::move(otherScreens_[plans[i].kept]);
            rains[i]->follow(std::move(plans[i].area), std::move(plans[i].grid));
        }
    }
    for (const std::unique_ptr<ScreenRain>& gone : otherScreens_) {
        if (gone)
            windows_.screenRemoved(*gone);
    }
    otherScreens_ = std::move(rains);
    coverPrimary(std::move(screens.front()), std::move(primaryGrid));
    windows_.screensFollowed();
}

void Form1::coverPrimary(ScreenArea&& area, std::optional<FreshGrid>&& grid)
{
    area_ = std::move(area);
    Width = area_.twips().width;
    Height = area_.twips().height;
    if (grid)
        adoptGrid(state, M1, std::move(*grid));
    if (Label1.isVisible())
        centreBanner();
}

} // namespace korval
