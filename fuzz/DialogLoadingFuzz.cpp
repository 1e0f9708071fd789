// Stored settings as the options dialog loads them, the input read as
// FuzzStore.h says. Loading never fails: every field shows something usable.
// Pressing OK on what was shown either stores it or raises a run-time error,
// and what it stored loads again as the same fields.

#include "FuzzStore.h"

#include "core/options/OptionsToSave.h"
#include "core/options/StoredOptions.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

using namespace korval;

namespace {

// A measuring rule that needs no font: the letter grows with the font size.
QSize letterOf(double pointSize)
{
    return {static_cast<int>(std::ceil(pointSize * 0.8)), static_cast<int>(std::ceil(pointSize * 1.6))};
}

void checkShown(const DialogFields& fields)
{
    if (std::none_of(kFontSizes.begin(), kFontSizes.end(), [&](QLatin1StringView size) { return fields.textSize == size; }))
        fuzz::fail("the font size shown is not one the list offers");
    if (fields.bannerChoice != 0 && fields.bannerChoice != 1)
        fuzz::fail("the banner choice is neither yes nor no");
    if (fields.columnGap.isEmpty() || fields.rowGap.isEmpty())
        fuzz::fail("a gap box is left empty");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FreshStore fresh;
    SettingsStore& store = fresh.store;
    if (!fuzz::fillStore(store, data, size))
        return 0;

    DialogFields shown;
    if (!fuzz::convertsOrRaises([&] { shown = readStoredOptions(store, letterOf); }))
        fuzz::fail("loading the dialog raised a run-time error");
    checkShown(shown);

    SettingEntries entries;
    if (!fuzz::convertsOrRaises([&] { entries = entriesToSave(shown, letterOf); }))
        return 0;
    store.SaveSettings(settings::kApplication, settings::kSection, entries);
    // Read back as the next start of the dialog would, from a file that this
    // process has not parsed before (Qt's cache tells a rewrite only by its
    // size and millisecond time stamp).
    const QTemporaryDir nextStart;
    SettingsStore next(nextStart.path());
    const QString app(settings::kApplication);
    QDir().mkpath(QFileInfo(next.filePath(app)).absolutePath());
    if (!QFile::copy(store.filePath(app), next.filePath(app)))
        fuzz::fail("cannot copy the stored settings");
    if (readStoredOptions(next, letterOf) != shown)
        fuzz::fail("what OK stored loads as other fields than were shown");
    return 0;
}
