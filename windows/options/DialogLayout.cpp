#include "DialogLayout.h"

#include <cmath>

namespace korval::windows {

int scaledLength(int designPixels, unsigned dpi)
{
    return static_cast<int>(std::lround(static_cast<double>(designPixels) * dpi / kDesignDpi));
}

DialogRect scaledRect(const DialogRect& design, unsigned dpi)
{
    const int left = scaledLength(design.left, dpi);
    const int top = scaledLength(design.top, dpi);
    return {left, top, scaledLength(design.left + design.width, dpi) - left,
            scaledLength(design.top + design.height, dpi) - top};
}

// A point is 1/72 inch.
int fontHeight(double pointSize, unsigned dpi)
{
    return -static_cast<int>(std::lround(pointSize * dpi / 72.0));
}

} // namespace korval::windows
