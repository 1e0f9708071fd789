#include "ScreenScale.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace korval {

std::vector<ScreenScale> applicationScreenScales()
{
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    std::vector<ScreenScale> scales;
    for (const QScreen* screen : screens) {
        // Qt keeps a screen's top left corner where the device pixels have
        // it and divides only its size by the ratio.
        const double ratio = screen->devicePixelRatio();
        const QRect geometry = screen->geometry();
        scales.push_back({QRect(geometry.topLeft(), (QSizeF(geometry.size()) * ratio).toSize()), ratio,
                          screen->logicalDotsPerInch()});
    }
    return scales;
}

ScreenScale screenScaleAt(QPoint devicePixel, const std::vector<ScreenScale>& screens)
{
    for (const ScreenScale& screen : screens) {
        if (screen.deviceGeometry.contains(devicePixel))
            return screen;
    }
    return screens.empty() ? ScreenScale{} : screens.front();
}

QSize layoutSize(QSize devicePixels, double devicePixelRatio)
{
    // A hair below the quotient: 1000 device pixels at 1.25 are 800, not 801.
    const auto scaled = [devicePixelRatio](int pixels) {
        return static_cast<int>(std::ceil(pixels / devicePixelRatio - 1e-9));
    };
    return QSize(scaled(devicePixels.width()), scaled(devicePixels.height()));
}

} // namespace korval
