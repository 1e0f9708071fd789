#include "SaverWindow.h"

#include "Palette.h"

#include <QExposeEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace korval {
namespace {

// Fractional control positions (a banner centred at 424.5) round to the
// nearest whole pixel, halves away from zero.
QRect pixelRect(const QRectF& rect)
{
    const int x0 = static_cast<int>(std::lround(rect.left()));
    const int y0 = static_cast<int>(std::lround(rect.top()));
    return QRect(x0, y0, static_cast<int>(std::lround(rect.right())) - x0,
                 static_cast<int>(std::lround(rect.bottom())) - y0);
}

} // namespace

SaverWindow::SaverWindow(CellArray& cells, std::vector<WindowlessControl*> controls)
    : cells_(cells), controls_(std::move(controls)), store_(this)
{
    setSurfaceType(QSurface::RasterSurface);
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    cells_.setChangeListener([this] { scheduleRepaint(); });
    for (WindowlessControl* control : controls_) {
        control->setRepaintListener([this](const QRectF& rect) {
            controlDamage_ += pixelRect(rect).adjusted(-1, -1, 1, 1);
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

GlyphCache& SaverWindow::glyphs()
{
    if (!glyphs_) {
        const QScreen* shown = screen();
        glyphs_ = std::make_unique<GlyphCache>(cells_.font(), shown ? shown->logicalDotsPerInch() : 96.0,
                                               devicePixelRatio());
    }
    return *glyphs_;
}

int SaverWindow::cellAt(QPointF point) const
{
    for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
        if ((*control)->isVisible() && (*control)->catchesMouse() && (*control)->rect().contains(point))
            return -1;
    }
    // Later cells lie in front of earlier ones.
    for (int index = cells_.count() - 1; index >= 0; --index) {
        if (cells_[index].contains(point.x(), point.y()))
            return index;
    }
    return -1;
}

void SaverWindow::scheduleRepaint()
{
    // Before the native window exists Qt drops the request, and a flag set
    // then would block every later one; the first exposure paints it all.
    if (updateRequested_ || !handle())
        return;
    updateRequested_ = true;
    requestUpdate();
}

bool SaverWindow::event(QEvent* event)
{
    if (event->type() == QEvent::UpdateRequest) {
        updateRequested_ = false;
        repaintChanges();
        return true;
    }
    return QWindow::event(event);
}

void SaverWindow::exposeEvent(QExposeEvent*)
{
    if (isExposed()) {
        needsFullRepaint_ = true;
        repaintChanges();
    }
}

void SaverWindow::resizeEvent(QResizeEvent*)
{
    store_.resize(size());
    needsFullRepaint_ = true;
}

void SaverWindow::repaintChanges()
{
    if (!isExposed()) {
        // Nothing to show yet: the first exposure paints everything.
        cells_.clearChanges();
        controlDamage_ = QRegion();
        needsFullRepaint_ = true;
        return;
    }
    if (needsFullRepaint_ || cells_.geometryChanged()) {
        repaintAll();
        return;
    }
    QRegion region = controlDamage_;
    for (int index : cells_.changes())
        region += cells_[index].pixelRect();
    region &= QRect(QPoint(0, 0), size());
    if (region.isEmpty()) {
        cells_.clearChanges();
        controlDamage_ = QRegion();
        return;
    }

    store_.beginPaint(region);
    {
        QPainter painter(store_.paintDevice());
        for (const QRect& rect : controlDamage_)
            painter.fillRect(rect, QColor::fromRgb(BLACK));
        for (int index : cells_.changes())
            paintCell(painter, cells_[index]);
        paintControls(painter, region);
    }
    store_.endPaint();
    store_.flush(region);
    cells_.clearChanges();
    controlDamage_ = QRegion();
}

void SaverWindow::repaintAll()
{
    const QRect whole(QPoint(0, 0), size());
    store_.beginPaint(whole);
    {
        QPainter painter(store_.paintDevice());
        painter.fillRect(whole, QColor::fromRgb(BLACK));
        for (int index = 0; index < cells_.count(); ++index) {
            const Cell& cell = cells_[index];
            if (cell.visible && (cell.captionCode != kNoCaption || cell.backColour != BLACK))
                paintCell(painter, cell);
        }
        paintControls(painter, QRegion(whole));
    }
    store_.endPaint();
    store_.flush(whole);
    cells_.clearChanges();
    controlDamage_ = QRegion();
    needsFullRepaint_ = false;
}

void SaverWindow::paintCell(QPainter& painter, const Cell& cell)
{
    const QRect rect = cell.pixelRect();
    if (rect.isEmpty())
        return;
    if (!cell.visible) {
        painter.fillRect(rect, QColor::fromRgb(BLACK)); // the form's background shows
        return;
    }
    if (cell.captionCode == kNoCaption) {
        painter.fillRect(rect, QColor::fromRgb(cell.backColour));
        return;
    }
    painter.drawImage(rect.topLeft(), glyphs().glyph(cell, rect.size()));
}

void SaverWindow::paintControls(QPainter& painter, const QRegion& region)
{
    for (const WindowlessControl* control : controls_) {
        if (!control->isVisible())
            continue;
        const QRect rect = pixelRect(control->rect());
        if (!region.intersects(rect))
            continue;
        painter.save();
        painter.setClipRegion(region);
        if (const auto* shape = dynamic_cast<const ShapeControl*>(control)) {
            painter.fillRect(rect, QColor::fromRgb(shape->backColour));
            painter.setPen(QColor::fromRgb(shape->borderColour));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        } else if (const auto* label = dynamic_cast<const LabelControl*>(control)) {
            painter.fillRect(rect, QColor::fromRgb(label->backColour));
            QFont font(label->fontFamily);
            font.setStyleHint(QFont::SansSerif);
            font.setWeight(static_cast<QFont::Weight>(label->fontWeight));
            font.setPointSizeF(label->fontSize);
            painter.setFont(font);
            painter.setPen(QColor::fromRgb(label->foreColour));
            painter.setClipRect(rect, Qt::IntersectClip);
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label->caption);
        }
        painter.restore();
    }
}

void SaverWindow::keyPressEvent(QKeyEvent* event)
{
    // Only keys that produce a character count: Shift, Ctrl or Alt alone, the
    // arrows and the function keys bring no text.
    const QString text = event->text();
    if (!text.isEmpty() && input_.keyPress)
        input_.keyPress(text.front().unicode());
}

void SaverWindow::mousePressEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position());
    if (cell >= 0 && input_.cellClick)
        input_.cellClick(cell);
}

void SaverWindow::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position());
    if (cell >= 0 && input_.cellMouseMove)
        input_.cellMouseMove(cell);
}

} // namespace korval
