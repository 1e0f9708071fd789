#pragma once

#include "core/saver/CellArray.h"
#include "CellRenderer.h"
#include "RepaintBands.h"
#include "core/saver/Surface.h"
#include "core/saver/Controls.h"
#include "XRenderCellPainter.h"
#include "platform/QtText.h"
#include "wayland/WaylandBackingStore.h"

#include <QBackingStore>
#include <QRegion>
#include <QWindow>

#include <memory>
#include <vector>

namespace korval {

// The window that shows a control array of cells and, in front of them, a
// few windowless controls. On each update only the cells queued since the
// last one are drawn. On X11 with the Render extension they are drawn by the
// X server from glyphs it keeps; on Wayland the window paints into buffers
// of its own that it shares with the compositor; elsewhere it paints into
// Qt's backing store. Either way only the changed area reaches the screen.
// Input over
// it reaches its stage as a key press with a character, or a click or mouse
// movement over a cell.
class SaverWindow final : public QWindow, public Surface {
    Q_OBJECT

public:
    // The controls are painted in the given order, the last one in front.
    SaverWindow(CellArray& cells, std::vector<WindowlessControl*> controls);
    ~SaverWindow() override;

    // The cell under a point of the window, or -1 when none is, or when a
    // control that catches the mouse lies in front.
    int cellAt(QPointF point) const;
    std::optional<int> cellUnder(PointF globalPosition) const override;

    // Draws what changed since the last repaint and flushes it; called by
    // the stage after each handler, on a repaint posted for changes made
    // outside one, and directly by tests and benchmarks.
    void repaintChanges() override;

    // What the last repaint did: how many cells it drew and which area it
    // sent to the screen (X Render sends no pixels, so only a full repaint
    // names an area there). A copy of the backing store's current picture,
    // null where X Render paints.
    int lastPaintedCells() const { return lastPaintedCells_; }
    const QRegion& lastFlushed() const { return lastFlushed_; }
    QImage frame();

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // How long a repaint waits for the compositor to give a buffer back.
    static constexpr int kBufferWaitMs = 4;

    void scheduleRepaint();
    XRenderCellPainter* xrenderPainter();
    void repaintWithXRender(XRenderCellPainter& painter);
    WaylandBackingStore* waylandStore();
    void repaintAll();
    bool beginDrawing(const QRegion& region);
    void finishDrawing(const QRegion& region, int paintedCells);
    void paintControls(const QRegion& region);
    void forgetChanges();

    CellArray& cells_;
    std::vector<WindowlessControl*> controls_;
    QBackingStore store_;
    CellRenderer renderer_;
    RepaintBands bands_;
    std::unique_ptr<XRenderCellPainter> xrender_;
    bool xrenderTried_ = false;   // asked once per native window
    bool xrenderRefused_ = false; // cells too large for it: the backing store paints
    std::unique_ptr<WaylandBackingStore> wayland_;
    bool waylandTried_ = false; // asked once per native window
    QPaintDevice* drawing_ = nullptr; // what the current repaint draws on
    QRegion controlDamage_;
    QRegion lastFlushed_;
    int lastPaintedCells_ = 0;
    bool needsFullRepaint_ = true;
    bool updateRequested_ = false;
};

} // namespace korval
