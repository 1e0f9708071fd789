#include "core/support/FakeForm.h"

#include "windows/saver/CellPainter.h"

#include "core/settings/SettingKeys.h"

#include <gtest/gtest.h>

namespace korval::windows {
namespace {

// The process's GDI objects, as the system counts them. Wine's
// GetGuiResources counts nothing (it gives 0): there the fonts selected back
// are what the test checks.
DWORD gdiObjects()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

// A thousand paints of a running saver, of every kind, with a move to a
// monitor of another DPI and back, leave the process no more GDI objects
// than after the first paint, and each paint gives the device context back
// with the font it had: a font still selected could not be deleted, and
// would leak when the painter drops it.
TEST(CellPainterTest, PaintsLeaveNoFontSelectedAndNoObjectBehind)
{
    testing::FakeForm fake;
    fake.store.put(settings::kSystem, "1");
    Form1& form = fake.make();
    form.StartSaver();
    form.Form_KeyPress('x'); // the banner's caption brings a font of its own
    const std::vector<WindowlessControl*> controls{&form.Shape1, &form.Label1};

    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    CellPainter painter(form.M1.font());
    const auto paintEveryKind = [&](int round) {
        form.Timer1_Timer();
        painter.paintCells(dc, form.M1, form.M1.changes());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original) << "after the changed cells, round " << round;
        form.M1.clearChanges();
        painter.paintControls(dc, controls);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original) << "after the banner, round " << round;
        if (round % 100 == 0) {
            painter.paintAll(dc, form.M1, {1024, 768});
            painter.paintArea(dc, form.M1, form.Shape1.rect());
            EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original) << "after the whole window, round " << round;
        }
    };

    paintEveryKind(0);
    const DWORD before = gdiObjects();
    for (int round = 1; round <= 1000; ++round) {
        if (round == 500)
            painter.setScale(MonitorScale::ofDpi(144));
        if (round == 700)
            painter.setScale(MonitorScale::ofDpi(96));
        paintEveryKind(round);
    }
    EXPECT_LE(gdiObjects(), before);
    DeleteDC(dc);
}

} // namespace
} // namespace korval::windows
