#include "CellSettings.h"

#include "Palette.h"
#include "core/runtime/NumberConversions.h"
#include "core/settings/SettingKeys.h"
#include "core/settings/SettingsStore.h"

namespace korval {
namespace {

// A stored cell size in pixels. A size below one pixel but above zero would
// make a grid of millions of columns that no screen can show; the cell
// refuses it, as it refuses a negative size.
float cellDimension(const std::string& stored, const RegionalFormat& format)
{
    const float pixels = toSingle(stored, format);
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

void applyCellSettings(CellArray& M1, const SettingsStore& store, const RegionalFormat& format)
{
    M1.setFontSize(toSingle(store.storedOrSaverDefault(settings::kTextSize), format));
    M1.setWidth(cellDimension(store.storedOrSaverDefault(settings::kWidth), format));
    M1.setHeight(cellDimension(store.storedOrSaverDefault(settings::kHeight), format));
}

} // namespace korval
