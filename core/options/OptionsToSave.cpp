#include "OptionsToSave.h"

#include "core/runtime/NumberConversions.h"
#include "core/runtime/RuntimeError.h"
#include "core/settings/SettingKeys.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace korval {
namespace {

// The letter's natural size plus a gap; a cell must keep at least one pixel.
int cellDimension(int natural, int gap)
{
    const int pixels = natural + gap;
    if (pixels < 1)
        throw RuntimeError::invalidPropertyValue();
    return pixels;
}

// The list offers only its own sizes; anything else is no size to measure at.
float offeredFontSize(const std::string& text, const RegionalFormat& format)
{
    for (std::string_view size : kFontSizes) {
        if (text == size)
            return toSingle(text, format);
    }
    throw RuntimeError::invalidPropertyValue();
}

std::pair<std::string, std::string> entry(const settings::SettingKey& key, std::string value)
{
    return {std::string(key.name), std::move(value)};
}

} // namespace

int wholeGap(std::string_view text, const RegionalFormat& format)
{
    const double value = toDouble(text, format);
    // A gap is a whole number or nothing: 1.5 is not rounded to 2.
    if (value != std::trunc(value))
        throw RuntimeError::typeMismatch();
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw RuntimeError::overflow();
    return static_cast<int>(value);
}

SettingEntries entriesToSave(const DialogFields& fields, const LetterMeasure& measure, const RegionalFormat& format)
{
    const int columnGap = wholeGap(fields.columnGap, format);
    const int rowGap = wholeGap(fields.rowGap, format);
    const LetterSize letter = measure(offeredFontSize(fields.textSize, format));
    const int width = cellDimension(letter.width, columnGap);
    const int height = cellDimension(letter.height, rowGap);
    return {
        entry(settings::kTextSize, fields.textSize),
        entry(settings::kWidth, singleToText(static_cast<float>(width), format)),
        entry(settings::kHeight, singleToText(static_cast<float>(height), format)),
        entry(settings::kSystem, wholeToText(fields.bannerChoice)),
    };
}

} // namespace korval
