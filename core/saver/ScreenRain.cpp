#include "ScreenRain.h"

#include "Grid.h"

namespace korval {

ScreenRain::ScreenRain(const Cell& templateCell, const ScreenArea& area, RandomSource& random)
    : M1(templateCell, CellFont{}), area_(area)
{
    layOutGrid(state, M1, area.twips());
    seedColumns(state, random);
}

void ScreenRain::cover(const ScreenArea& area, RandomSource& random)
{
    if (area.twips() != area_.twips())
        rebuildGrid(state, M1, area.twips(), random);
    area_ = area;
}

} // namespace korval
