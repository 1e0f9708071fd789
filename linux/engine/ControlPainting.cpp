#include "ControlPainting.h"

#include "core/runtime/Geometry.h"

#include <QFont>

namespace korval {

QRect controlPixelRect(const RectF& rect)
{
    return qtRect(pixelRectOf(rect));
}

bool controlsIntersect(const std::vector<WindowlessControl*>& controls, const QRegion& region)
{
    for (const WindowlessControl* control : controls) {
        if (control->isVisible() && region.intersects(controlPixelRect(control->rect())))
            return true;
    }
    return false;
}

void paintControls(QPainter& painter, const std::vector<WindowlessControl*>& controls, const QRegion& region)
{
    for (const WindowlessControl* control : controls) {
        if (!control->isVisible())
            continue;
        const QRect rect = controlPixelRect(control->rect());
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
            QFont font(qtText(label->fontFamily));
            font.setStyleHint(QFont::SansSerif);
            font.setWeight(static_cast<QFont::Weight>(label->fontWeight));
            font.setPointSizeF(label->fontSize);
            painter.setFont(font);
            painter.setPen(QColor::fromRgb(label->foreColour));
            painter.setClipRect(rect, Qt::IntersectClip);
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, qtText(label->caption));
        }
        painter.restore();
    }
}

} // namespace korval
