#include "ScreenRain.h"

namespace korval {

ScreenRain::ScreenRain(const Cell& templateCell, const ScreenArea& area, RandomSource& random)
    : M1(templateCell, CellFont{}), area_(area)
{
    layOutGrid(state, M1, area.twips());
    seedColumns(state, random);
}

void ScreenRain::follow(ScreenArea&& area, std::optional<FreshGrid>&& grid) noexcept
{
    area_ = std::move(area);
    if (grid)
        adoptGrid(state, M1, std::move(*grid));
}

} // namespace korval
