// Measures the saver with the smallest cells a user can store (1 x 1 pixel,
// a font of 8 points) on one and on four 3840 x 2160 screens, beside the
// default cells, on Qt's offscreen platform: the time from start-up to every
// window's first painted frame, the peak resident memory after it and after
// a second of painted ticks, and the median tick + paint. Each case runs in a
// child process of its own, so that its peak memory is its own.
//
//   korval_tiny_cells_bench       all cases, one table
//   korval_tiny_cells_bench --case CELL_W CELL_H TEXTSIZE
//                                 one case on the screens the offscreen
//                                 platform has; prints its figures on one line

#include "OffscreenCase.h"
#include "ProcessMemory.h"
#include "saver/SaverForm.h"

#include "core/saver/CellArray.h"
#include "core/settings/SettingKeys.h"
#include "platform/DesktopPlatform.h"
#include "settings/IniSettingsStore.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    const char* label;
    int screens; // side by side, two to a row
    int cellWidth;
    int cellHeight;
    int textSize;
};

constexpr Case kCases[] = {
    {"1 x 4K, 13 x 18", 1, 13, 18, 10},
    {"1 x 4K, 1 x 1", 1, 1, 1, 8},
    {"4 x 4K, 13 x 18", 4, 13, 18, 10},
    {"4 x 4K, 1 x 1", 4, 1, 1, 8},
};
constexpr int kScreenWidth = 3840;
constexpr int kScreenHeight = 2160;
constexpr int kTicks = 64; // a second of rain

double millisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using korval::bench::peakResidentKiB;

// One case, in this process: the offscreen platform already has its screens.
int runCase(int cellWidth, int cellHeight, int textSize)
{
    QTemporaryDir home;
    korval::IniSettingsStore store(home.path());
    namespace keys = korval::settings;
    store.SaveSetting(keys::kApplication, keys::kSection, keys::kWidth.name, std::to_string(cellWidth));
    store.SaveSetting(keys::kApplication, keys::kSection, keys::kHeight.name, std::to_string(cellHeight));
    store.SaveSetting(keys::kApplication, keys::kSection, keys::kTextSize.name, std::to_string(textSize));
    korval::DesktopPlatform platform(nullptr);

    const auto start = Clock::now();
    korval::SaverForm form(platform, store);
    korval::bench::startTickedByHand(form);
    const double startMillis = millisSince(start);
    const long startKiB = peakResidentKiB();

    long cells = form.form1().M1.count();
    for (const auto& other : form.form1().otherScreens())
        cells += other->M1.count();
    std::vector<double> tickMillis;
    for (int i = 0; i < kTicks; ++i) {
        const auto tickStart = Clock::now();
        form.form1().stage().run([&] { form.form1().Timer1_Timer(); });
        tickMillis.push_back(millisSince(tickStart));
    }
    std::sort(tickMillis.begin(), tickMillis.end());
    std::printf("%ld %.0f %ld %ld %.2f\n", cells, startMillis, startKiB, peakResidentKiB(),
                tickMillis[tickMillis.size() / 2]);
    return 0;
}

// The case's screens, side by side, two to a row.
QString screensConfig(const QTemporaryDir& folder, int screens)
{
    std::vector<QRect> rects;
    for (int i = 0; i < screens; ++i)
        rects.emplace_back((i % 2) * kScreenWidth, (i / 2) * kScreenHeight, kScreenWidth, kScreenHeight);
    return korval::bench::offscreenScreens(folder, QStringLiteral("screens-%1").arg(screens), rects);
}

int runAll(const QString& program)
{
    QTemporaryDir folder;
    std::printf("korval_tiny_cells_bench: offscreen platform, %d x %d screens; a grid holds at most %d cells\n\n",
                kScreenWidth, kScreenHeight, korval::CellArray::kMostCells);
    std::printf("%-17s %10s %10s %14s %14s %14s\n", "screens, cell", "cells", "start (ms)", "RSS start (MiB)",
                "RSS 1 s (MiB)", "tick+paint (ms)");
    for (const Case& benchCase : kCases) {
        const std::optional<QList<QByteArray>> figures = korval::bench::figuresOfCase(
            program, screensConfig(folder, benchCase.screens),
            {QString::number(benchCase.cellWidth), QString::number(benchCase.cellHeight),
             QString::number(benchCase.textSize)},
            5, benchCase.label, 17);
        if (!figures)
            continue;
        const QList<QByteArray>& f = *figures;
        std::printf("%-17s %10s %10s %14.1f %14.1f %14s\n", benchCase.label, f[0].constData(), f[1].constData(),
                    f[2].toDouble() / 1024, f[3].toDouble() / 1024, f[4].constData());
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 5 && QByteArray(argv[1]) == "--case") {
        QGuiApplication application(argc, argv);
        return runCase(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());
    }
    QCoreApplication application(argc, argv);
    return runAll(QCoreApplication::applicationFilePath());
}
