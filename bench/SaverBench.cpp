// Measures the saver's start-up, its tick and its painting at several screen
// sizes on Qt's offscreen platform, and prints one table. Each case runs in a
// child process of its own, with an offscreen screen of the case's size, so
// that its peak memory is its own. "rebuild" is what a monitor that changes
// while the saver runs costs: its grid laid out anew, seeded and painted.
//
//   korval_bench            all cases, one table
//   korval_bench --case W H CELL_W CELL_H TICKS
//                           one case; prints its figures on one line

#include "OffscreenCase.h"
#include "ProcessMemory.h"
#include "saver/SaverForm.h"
#include "core/saver/Grid.h"

#include "platform/DesktopPlatform.h"
#include "core/settings/SettingKeys.h"
#include "settings/IniSettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    const char* label;
    int width;
    int height;
    int cellWidth;
    int cellHeight;
};

constexpr Case kCases[] = {
    {"1024x768", 1024, 768, 13, 18},
    {"1920x1080", 1920, 1080, 13, 18},
    {"3840x2160", 3840, 2160, 13, 18},
    {"3840x2160 4x6", 3840, 2160, 4, 6},
};
constexpr int kTicks = 3000;
constexpr int kWarmUpTicks = 300; // fills the glyph cache and settles the columns
constexpr double kTicksPerSecond = 64;

struct Spread {
    double median;
    double p99;
};

Spread spreadOf(std::vector<double>& micros)
{
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double share) { return micros[static_cast<std::size_t>(share * double(micros.size() - 1))]; };
    return {at(0.5), at(0.99)};
}

double microsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

using korval::bench::peakResidentKiB;

// One case, in this process: the offscreen screen already has the case's size.
int runCase(int cellWidth, int cellHeight, int ticks)
{
    QTemporaryDir home;
    korval::IniSettingsStore store(home.path());
    namespace keys = korval::settings;
    store.SaveSetting(keys::kApplication, keys::kSection, keys::kWidth.name, std::to_string(cellWidth));
    store.SaveSetting(keys::kApplication, keys::kSection, keys::kHeight.name, std::to_string(cellHeight));
    korval::DesktopPlatform platform(nullptr);

    const auto buildStart = Clock::now();
    korval::SaverForm form(platform, store);
    korval::bench::startTickedByHand(form);
    const double buildMicros = microsSince(buildStart);

    for (int i = 0; i < kWarmUpTicks; ++i) {
        form.form1().Timer1_Timer();
        form.window().repaintChanges();
    }

    std::vector<double> tickMicros;
    std::vector<double> paintMicros;
    tickMicros.reserve(static_cast<std::size_t>(ticks));
    paintMicros.reserve(static_cast<std::size_t>(ticks));
    double changedCells = 0;
    double flushedRects = 0;
    double flushedArea = 0;
    for (int i = 0; i < ticks; ++i) {
        const auto start = Clock::now();
        form.form1().Timer1_Timer();
        tickMicros.push_back(microsSince(start));
        changedCells += double(form.form1().M1.changes().size());
        form.form1().M1.clearChanges(); // the tick alone: nothing painted
    }
    for (int i = 0; i < ticks; ++i) {
        const auto start = Clock::now();
        form.form1().Timer1_Timer();
        form.window().repaintChanges();
        paintMicros.push_back(microsSince(start));
        flushedRects += double(form.window().lastFlushed().rectCount());
        for (const QRect& rect : form.window().lastFlushed())
            flushedArea += double(rect.width()) * rect.height();
    }
    // A monitor that changed while the saver runs: its grid laid out anew
    // for the screen's size, seeded, and painted whole.
    const auto rebuildStart = Clock::now();
    korval::rebuildGrid(form.form1().state, form.form1().M1, form.form1().area().twips(), platform.random());
    form.window().repaintChanges();
    const double rebuildMicros = microsSince(rebuildStart);

    const Spread tick = spreadOf(tickMicros);
    const Spread paint = spreadOf(paintMicros);
    const double screenArea = double(form.window().width()) * form.window().height();
    std::printf("%d %d %.1f %.1f %.1f %.1f %.1f %ld %.0f %.0f %.1f %.1f\n", form.form1().state.columnCount,
                static_cast<int>(form.form1().state.rowsPerColumn), buildMicros / 1000, tick.median, tick.p99, paint.median,
                paint.p99, peakResidentKiB(), changedCells / ticks, flushedRects / ticks,
                100 * flushedArea / ticks / screenArea, rebuildMicros / 1000);
    return 0;
}

int runAll(const QString& program)
{
    QTemporaryDir folder;
    std::printf("korval_bench: offscreen platform, %d ticks per figure after %d warm-up ticks; "
                "share of one core at %.0f ticks per second\n\n",
                kTicks, kWarmUpTicks, kTicksPerSecond);
    std::printf("%-14s %10s %8s %8s %15s %17s %7s %9s %8s %8s %8s\n", "screen, cell", "C x R", "build", "rebuild",
                "tick alone", "tick + paint", "core", "peak RSS", "changed", "flushed", "flushed");
    std::printf("%-14s %10s %8s %8s %15s %17s %7s %9s %8s %8s %8s\n", "", "", "(ms)", "(ms)", "med/p99 (us)",
                "med/p99 (us)", "at 64/s", "(MiB)", "cells", "rects", "area %");
    for (const Case& benchCase : kCases) {
        const QString screens = korval::bench::offscreenScreens(
            folder, QStringLiteral("screen-%1x%2").arg(benchCase.width).arg(benchCase.height),
            {QRect(0, 0, benchCase.width, benchCase.height)});
        const std::optional<QList<QByteArray>> figures = korval::bench::figuresOfCase(
            program, screens,
            {QString::number(benchCase.cellWidth), QString::number(benchCase.cellHeight), QString::number(kTicks)}, 12,
            benchCase.label, 14);
        if (!figures)
            continue;
        const QList<QByteArray>& f = *figures;
        const QByteArray grid = f[0] + " x " + f[1];
        const QByteArray tick = f[3] + " / " + f[4];
        const QByteArray paint = f[5] + " / " + f[6];
        std::printf("%-14s %10s %8s %8s %15s %17s %6.1f%% %9.1f %8s %8s %8s\n", benchCase.label, grid.constData(),
                    f[2].constData(), f[11].constData(), tick.constData(), paint.constData(),
                    f[5].toDouble() * kTicksPerSecond / 1e4, f[7].toDouble() / 1024, f[8].constData(),
                    f[9].constData(), f[10].constData());
    }
    std::printf("\nThe whole program on a virtual X display: bench/xvfb-cpu.sh <path to korval>\n");
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
