// Stored settings at saver start-up. The first byte names what the rest is:
// "T", "W", "H" or "S" the value of TEXTSIZE, WIDTH, HEIGHT or SYSTEM as the
// dialog would store it, "F" the whole settings file as bytes on disk (any
// other byte picks one of these by its value). The second byte picks the
// regional format. Start-up either builds a grid that the animation can run
// on, or raises a run-time error; a few ticks on the grid must end.

#include "FuzzSupport.h"

#include "support/FakePlatform.h"

#include "saver/Form1.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

using namespace korval;

namespace {

// A small screen keeps the largest grid (one-pixel cells) small enough to
// build thousands of times a second.
constexpr int kScreenWidth = 64;
constexpr int kScreenHeight = 48;
constexpr int kTicks = 3;

QTemporaryDir* storeFolder = nullptr;

void writeFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fuzz::fail("cannot write the settings file");
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

void checkGrid(const Form1& form)
{
    const SaverState& state = form.state;
    if (state.rowsPerColumn < 0 || state.columnCount < 0)
        fuzz::fail("a negative grid size");
    const auto rows = static_cast<std::int64_t>(state.rowsPerColumn);
    // Without a full row no column is started, and the edge column is the
    // single cell below the template.
    const std::int64_t cells = rows > 0 ? rows * state.columnCount + state.columnCount + 2 : 2;
    if (form.M1.count() != cells)
        fuzz::fail("the grid does not hold N + C + 2 cells");
    for (int column = 1; column <= state.columnCount; ++column) {
        const int speed = state.columnSpeed[static_cast<std::size_t>(column)];
        if (speed < 1 || speed > 4)
            fuzz::fail("a column seeded with a speed outside 1..4");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startApplication(argc, argv);
    storeFolder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const std::array<const settings::SettingKey*, 4> keys{&settings::kTextSize, &settings::kWidth,
                                                                 &settings::kHeight, &settings::kSystem};
    QLocale::setDefault(fuzz::localeFor(data[1]));

    SettingsStore store(storeFolder->path());
    const QString file = store.filePath(QString(settings::kApplication));
    QFile::remove(file);
    const std::uint8_t what = data[0];
    const char* const names = "TWHSF";
    const char* named = std::strchr(names, what);
    const std::size_t choice = what != 0 && named ? static_cast<std::size_t>(named - names) : what % 5u;
    if (choice == 4) {
        writeFile(file, data + 2, size - 2);
    } else {
        // Values the dialog stores are texts; a stray NUL cannot reach one.
        const QString value = fuzz::textOf(data + 2, size - 2).remove(QChar(u'\0'));
        store.SaveSetting(settings::kApplication, settings::kSection, keys[choice]->name, value);
    }

    testing::FakePlatform platform(kScreenWidth, kScreenHeight);
    Form1 form(platform, store);
    form.Timer1.setEnabled(false);
    if (!fuzz::convertsOrRaises([&] { form.StartSaver(); }))
        return 0;
    checkGrid(form);
    for (int tick = 0; tick < kTicks; ++tick)
        form.Timer1_Timer();
    return 0;
}
