#pragma once

#include "FuzzSupport.h"

#include "core/settings/SettingKeys.h"
#include "settings/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>

// Turns one fuzz input into the contents of a settings store. The first byte
// names what the rest is: "T", "W", "H" or "S" the value of TEXTSIZE, WIDTH,
// HEIGHT or SYSTEM as the dialog would store it, "F" the whole settings file
// as bytes on disk (any other byte picks one of these by its value). The
// second byte picks the regional format (see localeFor).
namespace korval::fuzz {

// A store in a folder of its own for every input: Qt's cache of parsed
// settings files could otherwise hand one input the previous input's values.
struct FreshStore {
    QTemporaryDir folder;
    SettingsStore store{folder.path()};
};

// Fills the store from the input; false when the input is too short to say.
inline bool fillStore(SettingsStore& store, const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return false;
    static const std::array<const settings::SettingKey*, 4> keys{&settings::kTextSize, &settings::kWidth,
                                                                 &settings::kHeight, &settings::kSystem};
    QLocale::setDefault(localeFor(data[1]));

    const QString file = store.filePath(QString(settings::kApplication));
    QFile::remove(file);
    const char* const names = "TWHSF";
    const char* named = data[0] != 0 ? std::strchr(names, data[0]) : nullptr;
    const std::size_t choice = named ? static_cast<std::size_t>(named - names) : data[0] % 5u;
    if (choice == 4) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail("cannot write the settings file");
        out.write(reinterpret_cast<const char*>(data + 2), static_cast<qint64>(size - 2));
        return true;
    }
    // Values the dialog stores are texts; a stray NUL cannot reach one.
    const QString value = textOf(data + 2, size - 2).remove(QChar(u'\0'));
    store.SaveSetting(settings::kApplication, settings::kSection, keys[choice]->name, value);
    return true;
}

} // namespace korval::fuzz
