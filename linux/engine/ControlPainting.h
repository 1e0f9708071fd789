#pragma once

#include "core/saver/Controls.h"
#include "platform/QtText.h"

#include <QPainter>
#include <QRect>
#include <QRegion>

#include <vector>

namespace korval {

// The whole pixels a windowless control covers: fractional positions (a
// banner centred at 424.5) round to the nearest pixel, halves away from zero.
QRect controlPixelRect(const RectF& rect);

// Whether some visible control lies in the region.
bool controlsIntersect(const std::vector<WindowlessControl*>& controls, const QRegion& region);

// Paints the visible controls that lie in the region, clipped to it, in
// order: the last one in front. The painter works in window coordinates.
void paintControls(QPainter& painter, const std::vector<WindowlessControl*>& controls, const QRegion& region);

} // namespace korval
