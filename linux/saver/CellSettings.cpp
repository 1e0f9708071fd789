#include "CellSettings.h"

#include "engine/Palette.h"
#include "platform/NumberConversions.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

namespace korval {
namespace {

// A stored cell size in pixels. A size below one pixel but above zero would
// make a grid of millions of columns that no screen can show; the cell
// refuses it, as it refuses a negative size.
float cellDimension(const QString& stored)
{
    const float pixels = toSingle(stored);
    if (pixels > 0 && pixels < 1)
        throw RuntimeError::invalidPropertyValue();
    return pixels;
}

} // namespace

Cell templateCell()
{
    Cell cell;
    cell.width = 19;
    cell.height = 21;
    cell.fontSize = 8.25f;
    cell.foreColour = TRAIL_COLOUR;
    cell.backColour = BLACK;
    return cell;
}

void applyCellSettings(CellArray& M1, const SettingsStore& store)
{
    M1.setFontSize(0, toSingle(store.storedOrSaverDefault(settings::kTextSize)));
    M1.setWidth(0, cellDimension(store.storedOrSaverDefault(settings::kWidth)));
    M1.setHeight(0, cellDimension(store.storedOrSaverDefault(settings::kHeight)));
}

} // namespace korval
