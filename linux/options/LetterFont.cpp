#include "LetterFont.h"

#include "DialogFonts.h"

#include <QFontMetricsF>

#include <cmath>

namespace korval {

LetterSize naturalLetterSize(double pointSize)
{
    const QFontMetricsF metrics(measuringFont(pointSize));
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(QLatin1Char('M')))),
            static_cast<int>(std::ceil(metrics.height()))};
}

} // namespace korval
