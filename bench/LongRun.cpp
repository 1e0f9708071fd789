// A saver left running for hours: a million ticks of the glyph rain on a
// 3840 x 2160 screen with the stored defaults, each tick painted through the
// window's repaint path on Qt's offscreen platform. Prints the resident
// memory after a warm-up and at every tenth of the run; it must stay flat.
//
//   korval_long_run                 1,000,000 ticks, each painted
//   korval_long_run TICKS           another number of ticks
//   korval_long_run TICKS --no-paint  the tick alone

#include "OffscreenCase.h"
#include "ProcessMemory.h"
#include "saver/SaverForm.h"

#include "core/runtime/Platform.h"
#include "core/runtime/RandomSource.h"
#include "settings/IniSettingsStore.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kScreenWidth = 3840;
constexpr int kScreenHeight = 2160;
constexpr long kDefaultTicks = 1'000'000;
constexpr long kWarmUpTicks = 10'000; // every glyph drawn once, every column wrapped
constexpr long kReports = 10;

// The desktop as the saver sees it, minus the parts that would stop a
// benchmark: a message box or the end of the program is printed and ends it.
class LongRunPlatform final : public korval::Platform {
public:
    korval::RandomSource& random() override { return random_; }
    const korval::RegionalFormat& regionalFormat() const override { return format_; }
    std::vector<korval::ScreenArea> screens() const override
    {
        return {{"4K", {0, 0, kScreenWidth, kScreenHeight}, korval::TWIPS_PER_PIXEL}};
    }
    void setScreensChangedHandler(std::function<void()>) override {}
    bool anotherInstanceRunning() const override { return false; }
    void hidePointer() override {}
    void showPointer() override {}
    void messageBox(const std::string& text, korval::MessageStyle) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    void endProgram(int status) override
    {
        std::fprintf(stderr, "the saver ended itself with status %d\n", status);
        std::exit(status == 0 ? 1 : status);
    }

private:
    korval::ClockSeededRandom random_;
    korval::RegionalFormat format_;
};

using korval::bench::residentKiB;

void tick(korval::SaverForm& form, bool paint)
{
    form.form1().Timer1_Timer();
    if (paint)
        form.window().repaintChanges();
    else
        form.form1().M1.clearChanges();
}

} // namespace

int main(int argc, char* argv[])
{
    const long ticks = argc > 1 ? std::atol(argv[1]) : kDefaultTicks;
    const bool paint = !(argc > 2 && QByteArray(argv[2]) == "--no-paint");
    if (ticks <= 0) {
        std::fprintf(stderr, "usage: korval_long_run [TICKS] [--no-paint]\n");
        return 2;
    }

    QTemporaryDir folder;
    // A screen of the benchmark's size, so that the full-screen window and its
    // backing store are as large as on a real 4K display.
    const QString screen =
        korval::bench::offscreenScreens(folder, QStringLiteral("long-run"), {QRect(0, 0, kScreenWidth, kScreenHeight)});
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen:configfile=") + screen.toLocal8Bit());
    QGuiApplication application(argc, argv);

    // An empty store of its own: the saver runs with the defaults.
    korval::IniSettingsStore store(folder.filePath(QStringLiteral("config")));
    LongRunPlatform platform;
    korval::SaverForm form(platform, store);
    form.form1().Timer1.setEnabled(false); // ticked by hand, as fast as it goes
    form.form1().StartSaver();
    form.show();
    while (paint && !form.window().isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    for (long i = 0; i < kWarmUpTicks; ++i)
        tick(form, paint);

    std::printf("korval_long_run: %ld ticks on %dx%d, grid %d x %d cells, %s\n", ticks, kScreenWidth, kScreenHeight,
                form.form1().state.columnCount, static_cast<int>(form.form1().state.rowsPerColumn),
                paint ? "each tick painted offscreen" : "tick only");
    const long startKiB = residentKiB();
    std::printf("%12s %14s %10s\n", "ticks", "resident KiB", "us/tick");
    std::printf("%12d %14ld %10s\n", 0, startKiB, "");
    std::fflush(stdout);

    const auto begin = std::chrono::steady_clock::now();
    auto lap = begin;
    const long every = std::max(1L, ticks / kReports);
    for (long i = 1; i <= ticks; ++i) {
        tick(form, paint);
        if (i % every == 0 || i == ticks) {
            const auto now = std::chrono::steady_clock::now();
            const double micros = std::chrono::duration<double, std::micro>(now - lap).count();
            const long done = i % every == 0 ? every : i % every;
            std::printf("%12ld %14ld %10.1f\n", i, residentKiB(), micros / double(done));
            std::fflush(stdout);
            lap = now;
        }
    }

    const long endKiB = residentKiB();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("resident memory: %ld KiB at the start, %ld KiB at the end (%+ld KiB); %.0f s in all\n", startKiB,
                endKiB, endKiB - startKiB, seconds);
    return 0;
}
