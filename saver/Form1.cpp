#include "Form1.h"

#include "settings/SettingKeys.h"
#include "settings/SettingsStore.h"

#include "platform/Arithmetic.h"
#include "platform/HandlerGuard.h"
#include "platform/NumberConversions.h"
#include "platform/Palette.h"
#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace korval {
namespace {

// The template cell, element 0 of M1, as designed: every cell is a copy.
Cell templateCell()
{
    Cell cell;
    cell.width = 19;
    cell.height = 21;
    cell.fontSize = 8.25f;
    cell.foreColour = TRAIL_COLOUR;
    cell.backColour = BLACK;
    return cell;
}

CellFont cellFont()
{
    return {QStringLiteral("MS Sans Serif"), 700, 238};
}

// A stored cell size in pixels. A size below one pixel but above zero would
// make a grid of millions of columns that no screen can show; the cell
// refuses it, as it refuses a negative size.
float cellDimension(const QString& stored)
{
    const float pixels = toSingle(stored);
    if (pixels > 0 && pixels < 1)
        throw RuntimeError::invalidPropertyValue();
    return pixels;
}

QString setting(const SettingsStore& store, const settings::SettingKey& key)
{
    return store.GetSetting(settings::kApplication, settings::kSection, key.name, key.saverDefault);
}

} // namespace

template <class Handler>
auto Form1::guarded(Handler handler)
{
    return [this, handler](auto... arguments) { runGuarded(platform_, [&] { (this->*handler)(arguments...); }); };
}

Form1::Form1(Platform& platform, SettingsStore& store)
    : M1(templateCell(), cellFont()),
      // A tick's changes are painted as soon as it returns, in the same turn
      // of the event loop.
      Timer1(1, true, [this] { window_.changeAndRepaint([this] { runGuarded(platform_, [this] { Timer1_Timer(); }); }); }),
      Timer2(2000, false, [this] { runGuarded(platform_, [this] { Timer2_Timer(); }); }),
      platform_(platform), store_(store), window_(M1, {&Shape1, &Label1})
{
    Label1.caption = QStringLiteral("SYSTEM FAILURE");
    Label1.foreColour = HEAD_COLOUR;
    Label1.backColour = BLACK;
    Label1.fontFamily = QStringLiteral("MS Sans Serif");
    Label1.fontSize = 13.5f;
    Label1.fontWeight = 700;
    Label1.setSize(175, 24);
    Label1.setLeft(705 / 15.0f);
    Label1.setTop(1560 / 15.0f);

    Shape1.borderColour = HEAD_COLOUR;
    Shape1.backColour = BLACK;
    Shape1.setSize(185, 33);
    Shape1.setLeft(600 / 15.0f);
    Shape1.setTop(1500 / 15.0f);

    window_.setTitle(QStringLiteral("KORVAL"));
    window_.setInput({guarded(&Form1::Form_KeyPress), guarded(&Form1::M1_Click), guarded(&Form1::M1_MouseMove)});
}

void Form1::StartSaver()
{
    if (platform_.anotherInstanceRunning()) {
        platform_.endProgram(0);
        return;
    }
    std::int16_t topMost = -1;
    SetTopMost(window_, topMost);
    platform_.ShowCursor(false);

    M1.setFontSize(0, toSingle(setting(store_, settings::kTextSize)));
    M1.setWidth(0, cellDimension(setting(store_, settings::kWidth)));
    M1.setHeight(0, cellDimension(setting(store_, settings::kHeight)));
    state.bannerFlag = setting(store_, settings::kSystem);

    platform_.random().seedFromClock();

    const QSizeF screen = platform_.screenTwips();
    Width = screen.width();
    Height = screen.height();
    // Always 15 twips to the pixel, whatever the display reports.
    state.rowsPerColumn = static_cast<float>(Int(divide(Height / TWIPS_PER_PIXEL, M1[0].height)));
    state.columnCount = toWhole(Int(divide(Width / TWIPS_PER_PIXEL, M1[0].width)));

    buildGrid();
    seedColumns();
}

// Lays the cells out column by column, each column from the top down, every
// position taken from a neighbour: the top cell of a column from the top of
// the column to its left, every other cell from the one above it. After the
// full columns comes the edge column at the right: one cell per full column
// plus two, stacked from the top.
void Form1::buildGrid()
{
    const auto rows = static_cast<std::int64_t>(state.rowsPerColumn);
    const std::int64_t full = rows * state.columnCount;
    const std::int64_t last = full + state.columnCount + 1;
    const int lastCell = toWhole(static_cast<double>(last));
    M1.reserve(lastCell + 1);

    const int R = static_cast<int>(rows);
    const int N = static_cast<int>(full);
    int columnsStarted = 0;
    for (int i = 1; i <= N; ++i) {
        M1.load(i);
        if (i % R == 0) {
            ++columnsStarted;
            M1.setTop(i, M1[i - R].top);
            M1.setLeft(i, static_cast<float>(double(M1[i].width) + M1[i - R].left));
        } else {
            M1.setTop(i, static_cast<float>(double(M1[i].height) + M1[i - 1].top));
            M1.setLeft(i, M1[i - 1].left);
        }
        M1.clearCaption(i);
        M1.setVisible(i, true);
    }
    for (int i = N + 1; i <= N + 1 + columnsStarted; ++i) {
        M1.load(i);
        M1.setTop(i, static_cast<float>(double(M1[i].height) + M1[i - 1].top));
        M1.setLeft(i, M1[i - 1].left);
        M1.setVisible(i, true);
    }
}

// Gives every full column a speed of 1 to 4 (1 twice as likely as each of
// the others) and a mode, drawing speed then mode, column after column.
void Form1::seedColumns()
{
    state.sizeColumnTables(state.columnCount);
    for (int column = 1; column <= state.columnCount; ++column) {
        int speed = static_cast<int>(Int(5 * platform_.random().next()));
        if (speed == 0)
            speed = 1;
        state.columnSpeed[static_cast<std::size_t>(column)] = speed;
        state.columnMode[static_cast<std::size_t>(column)] = static_cast<int>(Int(2 * platform_.random().next()));
    }
}

void Form1::SetTopMost(QWindow& form, std::int16_t& flag)
{
    const int result = SetWindowPos(form, flag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    flag = static_cast<std::int16_t>(result);
}

void Form1::show()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const double pixel = platform_.twipsPerPixel();
    window_.setGeometry(QRect(origin, QSize(static_cast<int>(Width / pixel), static_cast<int>(Height / pixel))));
    window_.showFullScreen();
    window_.requestActivate();
}

} // namespace korval
