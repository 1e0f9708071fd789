#include "OptionsToSave.h"

#include "settings/SettingKeys.h"

#include "platform/NumberConversions.h"
#include "platform/RuntimeError.h"

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
float offeredFontSize(const QString& text)
{
    for (QLatin1StringView size : kFontSizes) {
        if (text == size)
            return toSingle(text);
    }
    throw RuntimeError::invalidPropertyValue();
}

std::pair<QString, QString> entry(const settings::SettingKey& key, QString value)
{
    return {QString(key.name), std::move(value)};
}

} // namespace

int wholeGap(const QString& text)
{
    const double value = toDouble(text);
    // toInteger would round 1.5 to 2; a gap is a whole number or nothing.
    if (value != std::trunc(value))
        throw RuntimeError::typeMismatch();
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw RuntimeError::overflow();
    return static_cast<int>(value);
}

SettingEntries entriesToSave(const DialogFields& fields, const LetterMeasure& measure)
{
    const int columnGap = wholeGap(fields.columnGap);
    const int rowGap = wholeGap(fields.rowGap);
    const QSize letter = measure(offeredFontSize(fields.textSize));
    const int width = cellDimension(letter.width(), columnGap);
    const int height = cellDimension(letter.height(), rowGap);
    return {
        entry(settings::kTextSize, fields.textSize),
        entry(settings::kWidth, singleToText(static_cast<float>(width))),
        entry(settings::kHeight, singleToText(static_cast<float>(height))),
        entry(settings::kSystem, QString::number(fields.bannerChoice)),
    };
}

} // namespace korval
