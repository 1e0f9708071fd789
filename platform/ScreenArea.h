#pragma once

#include <QRect>
#include <QSizeF>
#include <QString>

namespace korval {

// One screen the saver covers: where it lies on the desktop in pixels, and
// the twips per pixel at which the platform reports its size (15 on every
// real desktop here; tests may report another).
struct ScreenArea {
    QString name; // tells a screen apart from the others across changes
    QRect geometry;
    double twipsPerPixel = 15;

    QSizeF twips() const { return QSizeF(geometry.size()) * twipsPerPixel; }
    bool operator==(const ScreenArea&) const = default;
};

} // namespace korval
