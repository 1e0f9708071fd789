#include "StoredOptions.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include "platform/NumberConversions.h"
#include "platform/RuntimeError.h"

#include <algorithm>

namespace korval {
namespace {

// The list selects by equal text, so only its own texts are usable sizes.
QString storedFontSize(const SettingsStore& store)
{
    const QString text = store.stored(settings::kTextSize);
    const bool offered = std::any_of(kFontSizes.begin(), kFontSizes.end(),
                                     [&](QLatin1StringView size) { return text == size; });
    return offered ? text : QString::number(settings::kTextSize.saverDefault);
}

double storedNumber(const SettingsStore& store, const settings::SettingKey& key)
{
    try {
        return toDouble(store.stored(key));
    } catch (const RuntimeError&) {
        return key.saverDefault;
    }
}

} // namespace

DialogFields readStoredOptions(const SettingsStore& store, const LetterMeasure& measure)
{
    DialogFields fields;
    fields.textSize = storedFontSize(store);
    const QSize letter = measure(toDouble(fields.textSize));
    fields.columnGap = doubleToText(storedNumber(store, settings::kWidth) - letter.width());
    fields.rowGap = doubleToText(storedNumber(store, settings::kHeight) - letter.height());
    // Compared as numbers, so "01" also means yes.
    fields.bannerChoice = storedNumber(store, settings::kSystem) == 1 ? 1 : 0;
    return fields;
}

} // namespace korval
