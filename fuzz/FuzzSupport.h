#pragma once

#include "core/runtime/RuntimeError.h"

#include <QApplication>
#include <QLocale>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

// What every fuzz target shares: a Qt application on the offscreen platform
// (windows, fonts and the locale need one), the regional formats an input can
// ask for, and the rule that the only acceptable failure is a run-time error.
namespace korval::fuzz {

// Called once from LLVMFuzzerInitialize. The application lives until the
// process ends, as in the real program.
inline void startApplication(int* argc, char*** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about odd values in a fuzzed settings file are expected
    // by the thousand and would drown libFuzzer's own report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QApplication* application = new QApplication(*argc, *argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));
    (void)application;
}

// The user's regional formats worth telling apart: a decimal point, a
// decimal comma with a point for grouping, a decimal comma with a space for
// grouping, and Arabic-Indic digits. A readable seed names the first by "."
// or "," and any other byte picks by its value.
inline QLocale localeFor(std::uint8_t selector)
{
    static const std::array<QLocale, 4> locales{QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("de_DE")),
                                                QLocale(QStringLiteral("fr_FR")), QLocale(QStringLiteral("ar_EG"))};
    if (selector == '.')
        return locales[0];
    if (selector == ',')
        return locales[1];
    return locales[selector % locales.size()];
}

inline QString textOf(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A finding: print why and abort, so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* why)
{
    std::fprintf(stderr, "fuzz finding: %s\n", why);
    std::abort();
}

// Runs one call that may convert outside text; a run-time error is a sound
// outcome, anything else escaping is a finding. Returns true when it ran
// through without an error.
template <class Call>
bool convertsOrRaises(Call&& call)
{
    try {
        call();
        return true;
    } catch (const RuntimeError&) {
        return false;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fuzz finding: unexpected exception: %s\n", error.what());
        std::abort();
    }
}

} // namespace korval::fuzz
