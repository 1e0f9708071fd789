// Stored settings at saver start-up, the input read as FuzzStore.h says.
// Start-up either builds a grid that the animation can run on, or raises a
// run-time error; a few ticks on the grid must end.

#include "FuzzStore.h"

#include "core/support/FakeForm.h"

#include "core/saver/Form1.h"


using namespace korval;

namespace {

// A small screen keeps the largest grid (one-pixel cells) small enough to
// build thousands of times a second.
constexpr int kScreenWidth = 64;
constexpr int kScreenHeight = 48;
constexpr int kTicks = 3;

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
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FreshStore fresh;
    if (!fuzz::fillStore(fresh, data, size))
        return 0;

    testing::FakePlatform platform(kScreenWidth, kScreenHeight);
    platform.format = fresh.format;
    testing::FakeTimer timer1{1, false};
    testing::FakeTimer timer2{2000, false};
    testing::FakeWindows windows;
    Form1 form(platform, fresh.store, timer1, timer2, windows);
    if (!fuzz::convertsOrRaises([&] { form.StartSaver(); }))
        return 0;
    checkGrid(form);
    for (int tick = 0; tick < kTicks; ++tick)
        form.Timer1_Timer();
    return 0;
}
