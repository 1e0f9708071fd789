#include "CellRenderer.h"

#include "DevicePixelRect.h"
#include "PrefetchRows.h"
#include "platform/QtText.h"

#include "core/saver/Palette.h"

#include <algorithm>

namespace korval {
namespace {

// Formats whose pixels are the glyph cache's 0xFFRRGGBB words as they stand.
bool takesGlyphPixels(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

} // namespace

CellRenderer::CellRenderer(CellFont font) : font_(std::move(font)) {}

void CellRenderer::setScreen(double dotsPerInch, double devicePixelRatio)
{
    if (dotsPerInch == dotsPerInch_ && devicePixelRatio == devicePixelRatio_)
        return;
    dotsPerInch_ = dotsPerInch;
    devicePixelRatio_ = devicePixelRatio;
    glyphs_.reset();
}

GlyphCache& CellRenderer::glyphs()
{
    if (!glyphs_)
        glyphs_ = std::make_unique<GlyphCache>(font_, dotsPerInch_, devicePixelRatio_);
    return *glyphs_;
}

void CellRenderer::begin(QPaintDevice* device)
{
    end();
    if (!device) // a backing store not yet sized: nothing to draw on
        return;
    if (device->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(device);
        if (takesGlyphPixels(*image)) {
            // bits() once per repaint: it would copy a shared image, and the
            // backing store's image is never shared while it is painted.
            bits_ = image->bits();
            bytesPerLine_ = image->bytesPerLine();
            bounds_ = image->rect();
            return;
        }
    }
    painter_.emplace(device);
    // The painter too works in device pixels, as the glyphs are made.
    if (device->devicePixelRatio() != 1.0)
        painter_->scale(1.0 / device->devicePixelRatio(), 1.0 / device->devicePixelRatio());
}

void CellRenderer::end()
{
    bits_ = nullptr;
    painter_.reset();
}

void CellRenderer::drawCell(const Cell& cell)
{
    const QRect rect = devicePixelRect(qtRect(cell.pixelRect()), devicePixelRatio_);
    if (rect.isEmpty())
        return;
    if (!cell.visible) {
        fillDevicePixels(rect, BLACK); // the form's background shows
        return;
    }
    if (cell.captionCode == kNoCaption) {
        fillDevicePixels(rect, cell.backColour);
        return;
    }
    const QImage& glyph = glyphs().glyphOfDeviceSize(cell, rect.size());
    if (bits_)
        copyImage(glyph, rect);
    else if (painter_)
        painter_->drawImage(QRectF(rect), glyph); // the picture carries the ratio; the painter works in device pixels
}

void CellRenderer::fill(const QRect& rect, QRgb colour)
{
    fillDevicePixels(devicePixelRect(rect, devicePixelRatio_), colour);
}

void CellRenderer::fillDevicePixels(const QRect& rect, QRgb colour)
{
    if (!bits_) {
        if (painter_)
            painter_->fillRect(rect, QColor::fromRgb(colour));
        return;
    }
    const QRect target = rect & bounds_;
    if (target.isEmpty())
        return;
    prefetchRows(bits_ + target.top() * bytesPerLine_ + target.left() * qsizetype(sizeof(QRgb)), bytesPerLine_,
                 target.height(), std::size_t(target.width()) * sizeof(QRgb));
    for (int y = target.top(); y <= target.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_) + target.left();
        std::fill_n(row, target.width(), colour);
    }
}

// Copies the part of a cell's picture that lies inside the image; cells of
// the edge column hang over the right edge of the screen.
void CellRenderer::copyImage(const QImage& source, const QRect& target)
{
    const QRect visible = target & bounds_;
    if (visible.isEmpty())
        return;
    const int sourceX = visible.left() - target.left();
    const int sourceY = visible.top() - target.top();
    const qsizetype sourceStride = source.bytesPerLine();
    const uchar* from = source.constBits() + sourceY * sourceStride + sourceX * qsizetype(sizeof(QRgb));
    uchar* to = bits_ + visible.top() * bytesPerLine_ + visible.left() * qsizetype(sizeof(QRgb));
    const int width = visible.width();
    prefetchRows(to, bytesPerLine_, visible.height(), std::size_t(width) * sizeof(QRgb));
    for (int y = 0; y < visible.height(); ++y, from += sourceStride, to += bytesPerLine_)
        std::copy_n(reinterpret_cast<const QRgb*>(from), width, reinterpret_cast<QRgb*>(to));
}

} // namespace korval
