#include "SaverWindow.h"

#include "ControlPainting.h"
#include "core/saver/Palette.h"
#include "core/saver/PointerTarget.h"
#include "core/saver/Stage.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QExposeEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace korval {

SaverWindow::SaverWindow(CellArray& cells, std::vector<WindowlessControl*> controls)
    : cells_(cells), controls_(std::move(controls)), store_(this), renderer_(cells.font())
{
    setSurfaceType(QSurface::RasterSurface);
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    cells_.setChangeListener([this] { scheduleRepaint(); });
    for (WindowlessControl* control : controls_) {
        control->setRepaintListener([this](const RectF& rect) {
            controlDamage_ += controlPixelRect(rect).adjusted(-1, -1, 1, 1);
            scheduleRepaint();
        });
    }
}

SaverWindow::~SaverWindow()
{
    cells_.setChangeListener({});
    for (WindowlessControl* control : controls_)
        control->setRepaintListener({});
}

int SaverWindow::cellAt(QPointF point) const
{
    return cellUnderPoint(cells_, controls_, {point.x(), point.y()});
}

std::optional<int> SaverWindow::cellUnder(PointF globalPosition) const
{
    const QPointF position(globalPosition.x, globalPosition.y);
    if (!isVisible() || !geometry().contains(position.toPoint()))
        return std::nullopt;
    return cellAt(position - QPointF(geometry().topLeft()));
}

void SaverWindow::scheduleRepaint()
{
    // Before the native window exists there is nothing to paint on: the
    // first exposure paints everything. A handler's changes are painted by
    // its stage when it returns.
    if (updateRequested_ || !handle() || (stage() && stage()->isHandling()))
        return;
    updateRequested_ = true;
    // A posted event is handled in the same turn of the event loop as the
    // handler that changed the cells; requestUpdate() would arm a timer and
    // wake the program a second time for every tick.
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

bool SaverWindow::event(QEvent* event)
{
    if (event->type() == QEvent::UpdateRequest) {
        updateRequested_ = false;
        repaintChanges();
        return true;
    }
    // Where the pointer came over the window: on Wayland the first place
    // the program learns.
    if (event->type() == QEvent::Enter && stage())
        stage()->pointerEntered(point(static_cast<QEnterEvent*>(event)->globalPosition()));
    return QWindow::event(event);
}

void SaverWindow::exposeEvent(QExposeEvent*)
{
    if (isExposed()) {
        needsFullRepaint_ = true;
        repaintChanges();
    }
}

// The backing store is sized when it is first painted: where the X server
// draws the cells it is never used, and a screen-sized image is not kept.
void SaverWindow::resizeEvent(QResizeEvent*)
{
    needsFullRepaint_ = true;
}

void SaverWindow::repaintChanges()
{
    if (!isExposed()) {
        // Nothing to show yet: the first exposure paints everything.
        forgetChanges();
        needsFullRepaint_ = true;
        return;
    }
    if (XRenderCellPainter* painter = xrenderPainter()) {
        repaintWithXRender(*painter);
        return;
    }
    waylandStore();
    if (needsFullRepaint_ || cells_.geometryChanged()) {
        repaintAll();
        return;
    }
    const std::vector<int>& changes = cells_.changes();
    bands_.clear();
    for (int index : changes)
        bands_.add(qtRect(cells_[index].pixelRect()));
    for (const QRect& rect : controlDamage_)
        bands_.add(rect);
    const QRegion region = bands_.region(QRect(QPoint(0, 0), size()));
    if (region.isEmpty()) {
        forgetChanges();
        lastFlushed_ = QRegion();
        lastPaintedCells_ = 0;
        return;
    }

    if (!beginDrawing(region))
        return;
    for (const QRect& rect : controlDamage_)
        renderer_.fill(rect, BLACK);
    for (int index : changes)
        renderer_.drawCell(cells_[index]);
    finishDrawing(region, static_cast<int>(changes.size()));
}

// The X Render painter, made at the first exposure of each native window;
// null where the backing store paints. It draws at any device pixel ratio,
// following the window's (repaintWithXRender).
XRenderCellPainter* SaverWindow::xrenderPainter()
{
    if (xrenderRefused_)
        return nullptr;
    if (xrender_ && !xrender_->drawsOn(*this)) {
        xrender_.reset();
        xrenderTried_ = false;
        needsFullRepaint_ = true;
    }
    if (!xrenderTried_) {
        xrenderTried_ = true;
        xrender_ = XRenderCellPainter::create(*this, cells_.font());
        needsFullRepaint_ = true;
    }
    return xrender_.get();
}

// The buffers of the window's own on Wayland, made at the first repaint of
// each native window; null elsewhere, where Qt's backing store paints. A new
// store shows nothing yet, so the repaint after it draws everything.
WaylandBackingStore* SaverWindow::waylandStore()
{
    if (wayland_ && !wayland_->drawsOn(*this)) {
        wayland_.reset();
        waylandTried_ = false;
    }
    if (!waylandTried_) {
        waylandTried_ = true;
        wayland_ = WaylandBackingStore::create(*this);
        needsFullRepaint_ = true;
    }
    return wayland_.get();
}

// The cells, the controls, the window's size and the damage are in the
// window's pixels; the painter draws them in device pixels at the window's
// ratio. A window moved to a screen with another ratio or resolution gets
// new glyphs and is repainted whole.
void SaverWindow::repaintWithXRender(XRenderCellPainter& painter)
{
    const QScreen* shown = screen();
    const bool newScale = painter.setDotsPerInch(shown ? shown->logicalDotsPerInch() : 96.0);
    if (painter.setDevicePixelRatio(devicePixelRatio()) || newScale)
        needsFullRepaint_ = true;
    if (needsFullRepaint_ || cells_.geometryChanged()) {
        const int painted = painter.paintAll(cells_, size(), controls_);
        if (painted < 0) {
            xrender_.reset();
            xrenderRefused_ = true;
            needsFullRepaint_ = true;
            repaintChanges();
            return;
        }
        needsFullRepaint_ = false;
        lastFlushed_ = QRegion(QRect(QPoint(0, 0), size()));
        lastPaintedCells_ = painted;
    } else {
        painter.paintChanges(cells_, cells_.changes(), controlDamage_, controls_);
        lastFlushed_ = QRegion();
        lastPaintedCells_ = static_cast<int>(cells_.changes().size());
    }
    forgetChanges();
}

void SaverWindow::repaintAll()
{
    const QRect whole(QPoint(0, 0), size());
    // Every changed-cell repaint follows a full one, so the bands' room for
    // all cells is made here once instead of on every tick.
    bands_.reserve(static_cast<std::size_t>(cells_.count()) + 16);
    if (!beginDrawing(QRegion(whole)))
        return;
    renderer_.fill(whole, BLACK);
    int painted = 0;
    for (int index = 0; index < cells_.count(); ++index) {
        const Cell& cell = cells_[index];
        if (cell.showsSomething()) {
            renderer_.drawCell(cell);
            ++painted;
        }
    }
    finishDrawing(QRegion(whole), painted);
    needsFullRepaint_ = false;
}

// False when there is nothing to draw on now: on Wayland every buffer may
// still be the compositor's. The changes are then dropped, and a repaint a
// moment later, when the compositor has given one back, draws everything:
// the banner, shown once, must not wait for a change that may not come.
bool SaverWindow::beginDrawing(const QRegion& region)
{
    const QScreen* shown = screen();
    renderer_.setScreen(shown ? shown->logicalDotsPerInch() : 96.0, devicePixelRatio());
    if (wayland_) {
        drawing_ = wayland_->beginPaint(size(), devicePixelRatio());
    } else {
        if (store_.size() != size())
            store_.resize(size());
        store_.beginPaint(region);
        drawing_ = store_.paintDevice();
    }
    if (!drawing_) {
        forgetChanges();
        needsFullRepaint_ = true;
        QTimer::singleShot(kBufferWaitMs, this, &SaverWindow::repaintChanges);
        return false;
    }
    renderer_.begin(drawing_);
    return true;
}

// The controls go over the cells, then the one region reaches the screen.
void SaverWindow::finishDrawing(const QRegion& region, int paintedCells)
{
    renderer_.end();
    paintControls(region);
    drawing_ = nullptr;
    if (wayland_) {
        wayland_->flush(region);
    } else {
        store_.endPaint();
        store_.flush(region);
    }
    forgetChanges();
    lastFlushed_ = region;
    lastPaintedCells_ = paintedCells;
}

// What was drawn (or needs no drawing) is no longer a change.
void SaverWindow::forgetChanges()
{
    cells_.clearChanges();
    controlDamage_ = QRegion();
}

QImage SaverWindow::frame()
{
    if (wayland_)
        return wayland_->frame();
    // Where X Render paints, the backing store is never sized, and Qt's
    // scaling backing store has no paint device to ask for yet.
    QPaintDevice* device = store_.size().isEmpty() ? nullptr : store_.paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return {};
    return static_cast<const QImage*>(device)->copy();
}

void SaverWindow::paintControls(const QRegion& region)
{
    if (!drawing_ || !controlsIntersect(controls_, region))
        return;
    QPainter painter(drawing_);
    korval::paintControls(painter, controls_, region);
}

void SaverWindow::keyPressEvent(QKeyEvent* event)
{
    // Only keys that produce a character count: Shift, Ctrl or Alt alone, the
    // arrows and the function keys bring no text.
    const QString text = event->text();
    if (!text.isEmpty() && stage())
        stage()->keyPress(text.front().unicode());
}

void SaverWindow::mousePressEvent(QMouseEvent* event)
{
    if (stage())
        stage()->click(point(event->globalPosition()));
}

// Qt reports every pointer movement over a window, buttons pressed or not:
// a window has no mouse tracking to switch on. The stage decides which
// reports are moves.
void SaverWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (stage())
        stage()->pointerMoved(point(event->globalPosition()));
}

// While the saver covers the screen any key must reach it, so it takes the
// keyboard back from whatever took it; only a modal message box of its own
// keeps it, as the user must be able to answer that box, and another of the
// saver's windows may have it (one on another screen).
void SaverWindow::focusOutEvent(QFocusEvent*)
{
    const bool toAnotherSaverWindow = qobject_cast<SaverWindow*>(QGuiApplication::focusWindow()) != nullptr;
    if (isVisible() && !QGuiApplication::modalWindow() && !toAnotherSaverWindow)
        requestActivate();
}

} // namespace korval
