#include "WindowRain.h"

#include "CellSettings.h"
#include "GlyphRain.h"
#include "Grid.h"

namespace korval {
namespace {

// The grid is laid out as for a screen of the window's size.
SizeF twipsOf(int widthPixels, int heightPixels)
{
    return {widthPixels * TWIPS_PER_PIXEL, heightPixels * TWIPS_PER_PIXEL};
}

} // namespace

WindowRain::WindowRain(Platform& platform, SettingsStore& store, FormTimer& timer1)
    : M1(templateCell(), CellFont{}), Timer1(timer1), platform_(platform), store_(store), stage_(platform)
{
    Timer1.setTickHandler(stage_.handler([this] { Timer1_Timer(); }));
    platform_.setUnhandledErrorHook([this] { Timer1.setEnabled(false); });
}

WindowRain::~WindowRain()
{
    Timer1.setTickHandler({});
    platform_.setUnhandledErrorHook({});
}

void WindowRain::start(int widthPixels, int heightPixels)
{
    applyCellSettings(M1, store_, platform_.regionalFormat());
    platform_.random().seedFromClock();
    layOutGrid(state, M1, twipsOf(widthPixels, heightPixels));
    seedColumns(state, platform_.random());
    fallWhileTheGridMoves();
}

void WindowRain::resize(int widthPixels, int heightPixels)
{
    stage_.run([&] {
        rebuildGrid(state, M1, twipsOf(widthPixels, heightPixels), platform_.random());
        fallWhileTheGridMoves();
    });
}

void WindowRain::Timer1_Timer()
{
    glyphRainTick(state, M1, platform_.random());
}

// A window smaller than a cell holds no full column and nothing in it moves:
// the timer sleeps instead of waking the program for nothing.
void WindowRain::fallWhileTheGridMoves()
{
    Timer1.setEnabled(state.columnCount > 0 && state.rowsPerColumn >= 1);
}

} // namespace korval
