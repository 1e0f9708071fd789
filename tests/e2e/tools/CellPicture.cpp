#include "core/saver/CellArray.h"
#include "core/saver/Palette.h"
#include "engine/SaverWindow.h"
#include "core/saver/Stage.h"
#include "platform/DesktopPlatform.h"
#include "core/saver/Controls.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <vector>

// Paints a fixed grid of cells on the X display and saves the window:
//   korval_cell_picture <file.png>
// or, on the platform Qt chooses (Wayland, where a program cannot read the
// screen), full screen with the grid at the screen's corner, saying
// "painted" when it is done and holding the picture until it is ended:
//   korval_cell_picture --show
// The same picture is expected whichever way the window paints its cells
// (KORVAL_XRENDER=0 keeps them in the backing store), so a test compares two
// runs; the helper prints which way it was. The grid shows every character
// code in both greens, hidden and empty cells, fractional columns, and a
// label in front of cells that change after it is shown, in several
// repaints, each over what the ones before drew.
namespace {

constexpr int kColumns = 24;
constexpr int kRows = 12;
// Cells of a width and a half: every other column starts half a pixel in,
// and its cells round to another width.
constexpr float kWidth = 13.5f;
constexpr float kHeight = 18.f;

void waitFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

int main(int argc, char* argv[])
{
    const bool show = argc == 2 && std::strcmp(argv[1], "--show") == 0;
    if (!show)
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: korval_cell_picture <file.png> | --show\n", stderr);
        return 2;
    }
    using namespace korval;

    Cell templateCell;
    templateCell.width = kWidth;
    templateCell.height = kHeight;
    templateCell.fontSize = 10;
    CellArray cells(templateCell, CellFont{});
    cells.arrange(kRows, kColumns);
    for (int i = 1; i < kColumns * kRows; ++i) {
        cells.load(i);
        cells.setVisible(i, i % 17 != 0);
        cells.setForeColour(i, i % 3 == 0 ? HEAD_COLOUR : TRAIL_COLOUR);
        if (i % 11 != 0)
            cells.setCaptionCode(i, i % 256);
    }

    LabelControl label;
    label.caption = "IN FRONT";
    label.fontFamily = "Arial";
    label.fontSize = 10;
    label.fontWeight = 700;
    SaverWindow window(cells, {&label});
    DesktopPlatform platform(nullptr);
    Stage stage(platform);
    stage.add(window);
    window.setGeometry(0, 0, int(kColumns * kWidth), int(kRows * kHeight));
    if (show)
        window.showFullScreen();
    else
        window.show();
    waitFor(500);

    label.setLeft(100.5f);
    label.setTop(60);
    label.setSize(90, 22);
    label.setVisible(true);
    waitFor(200);
    // Cells under and beside the label change after it shows: the label
    // stays in front.
    for (int pass = 0; pass < 3; ++pass) {
        stage.run([&] {
            for (int i = 60 + pass; i < 150; i += 3) {
                cells.setCaptionCode(i, (i * 7) % 256);
                cells.setForeColour(i, i % 2 ? HEAD_COLOUR : TRAIL_COLOUR);
            }
            cells.setVisible(64, false);
        });
        waitFor(100);
    }
    waitFor(200);

    if (show) {
        std::puts("painted");
        std::fflush(stdout);
        return application.exec();
    }

    QScreen* screen = window.screen();
    const QPixmap picture = screen ? screen->grabWindow(window.winId()) : QPixmap();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "korval_cell_picture: cannot save the window to %s\n", argv[1]);
        return 1;
    }
    // Where the X server draws the cells, the backing store is never sized
    // and holds no picture.
    std::printf("painted by %s at a device pixel ratio of %g\n", window.frame().isNull() ? "X Render" : "the backing store",
                window.devicePixelRatio());
    return 0;
}
