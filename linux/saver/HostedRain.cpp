#include "HostedRain.h"

#include "core/saver/CellSettings.h"
#include "core/saver/GlyphRain.h"
#include "core/saver/Grid.h"

namespace korval {
namespace {

// The grid is laid out as for a screen of the window's size.
SizeF twipsOf(QSize pixels)
{
    return {pixels.width() * TWIPS_PER_PIXEL, pixels.height() * TWIPS_PER_PIXEL};
}

} // namespace

HostedRain::HostedRain(Platform& platform, SettingsStore& store)
    : M1(templateCell(), CellFont{}), Timer1(1, false), platform_(platform), store_(store), stage_(platform)
{
    Timer1.setTickHandler(stage_.handler([this] { Timer1_Timer(); }));
    platform_.setUnhandledErrorHook([this] { Timer1.setEnabled(false); });
}

HostedRain::~HostedRain()
{
    platform_.setUnhandledErrorHook({});
}

void HostedRain::showIn(std::uint32_t window)
{
    QString error;
    window_ = HostWindow::open(window, M1, error);
    if (!window_) {
        platform_.messageBox(error.toStdString(), MB_CRITICAL);
        platform_.endProgram(1);
        return;
    }
    stage_.add(*window_);
    window_->setHandlers({[this](QSize pixels) { resize(pixels); }, [this] { platform_.endProgram(0); }});
    start(window_->size());
    // The first picture, black where no glyph is yet, even where nothing
    // will move.
    stage_.repaintChanges();
}

void HostedRain::start(QSize windowPixels)
{
    applyCellSettings(M1, store_, platform_.regionalFormat());
    platform_.random().seedFromClock();
    layOutGrid(state, M1, twipsOf(windowPixels));
    seedColumns(state, platform_.random());
    fallWhileTheGridMoves();
}

void HostedRain::resize(QSize windowPixels)
{
    stage_.run([&] {
        rebuildGrid(state, M1, twipsOf(windowPixels), platform_.random());
        fallWhileTheGridMoves();
    });
}

void HostedRain::Timer1_Timer()
{
    glyphRainTick(state, M1, platform_.random());
}

// A window smaller than a cell holds no full column and nothing in it moves:
// the timer sleeps instead of waking the program for nothing.
void HostedRain::fallWhileTheGridMoves()
{
    Timer1.setEnabled(state.columnCount > 0 && state.rowsPerColumn >= 1);
}

} // namespace korval
