#pragma once

#include "core/runtime/Geometry.h"

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>

#include <string>
#include <string_view>

// The edge between the rules' types (UTF-8 text, plain geometry) and Qt's.
namespace korval {

inline QString qtText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8Text(const QString& text)
{
    return text.toStdString();
}

inline QRect qtRect(const PixelRect& rect)
{
    return {rect.x, rect.y, rect.width, rect.height};
}

inline PixelRect pixelRect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

inline QRectF qtRect(const RectF& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}

inline PointF point(const QPointF& point)
{
    return {point.x(), point.y()};
}

} // namespace korval
