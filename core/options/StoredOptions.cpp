#include "StoredOptions.h"

#include "core/runtime/NumberConversions.h"
#include "core/runtime/RuntimeError.h"
#include "core/settings/SettingKeys.h"
#include "core/settings/SettingsStore.h"

#include <algorithm>

namespace korval {
namespace {

// The list selects by equal text, so only its own texts are usable sizes.
std::string storedFontSize(const SettingsStore& store)
{
    const std::string text = store.stored(settings::kTextSize);
    const bool offered =
        std::any_of(kFontSizes.begin(), kFontSizes.end(), [&](std::string_view size) { return text == size; });
    return offered ? text : wholeToText(settings::kTextSize.saverDefault);
}

double storedNumber(const SettingsStore& store, const settings::SettingKey& key, const RegionalFormat& format)
{
    try {
        return toDouble(store.stored(key), format);
    } catch (const RuntimeError&) {
        return key.saverDefault;
    }
}

} // namespace

DialogFields readStoredOptions(const SettingsStore& store, const LetterMeasure& measure, const RegionalFormat& format)
{
    DialogFields fields;
    fields.textSize = storedFontSize(store);
    const LetterSize letter = measure(toDouble(fields.textSize, format));
    fields.columnGap = doubleToText(storedNumber(store, settings::kWidth, format) - letter.width, format);
    fields.rowGap = doubleToText(storedNumber(store, settings::kHeight, format) - letter.height, format);
    // Compared as numbers, so "01" also means yes.
    fields.bannerChoice = storedNumber(store, settings::kSystem, format) == 1 ? 1 : 0;
    return fields;
}

} // namespace korval
