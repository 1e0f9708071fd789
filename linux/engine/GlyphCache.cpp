#include "GlyphCache.h"

#include "platform/QtText.h"

#include "CodePage1250.h"

#include <QFont>
#include <QPainter>

#include <bit>

namespace korval {

std::size_t GlyphCache::KeyHash::operator()(const Key& key) const noexcept
{
    const std::uint64_t shape = (std::uint64_t(std::uint16_t(key.code)) << 48) | (std::uint64_t(key.width) << 32)
                                | std::bit_cast<std::uint32_t>(key.fontSize);
    const std::uint64_t colours = (std::uint64_t(key.foreColour) << 32) | key.backColour;
    return static_cast<std::size_t>((shape * 0x9E3779B97F4A7C15ull) ^ (colours + key.height));
}

GlyphCache::GlyphCache(const CellFont& font, double dotsPerInch, double devicePixelRatio)
    : font_(font), dotsPerInch_(dotsPerInch), devicePixelRatio_(devicePixelRatio)
{
}

const QImage& GlyphCache::glyphOfDeviceSize(const Cell& cell, QSize devicePixels)
{
    const Key key{cell.captionCode,
                  static_cast<std::uint16_t>(devicePixels.width()),
                  static_cast<std::uint16_t>(devicePixels.height()),
                  cell.fontSize,
                  cell.foreColour,
                  cell.backColour};
    Recent& recent = recent_[(std::uint32_t(std::uint16_t(key.code)) * 0x9E3779B1u ^ key.foreColour ^ (key.width << 8))
                             % kRecentSlots];
    if (recent.image && recent.key == key)
        return *recent.image;
    auto found = images_.find(key);
    if (found == images_.end())
        found = images_.emplace(key, render(cell, devicePixels)).first;
    // The map's elements never move, so the pointer stays valid.
    recent = {key, &found->second};
    return found->second;
}

QImage GlyphCache::render(const Cell& cell, QSize devicePixels) const
{
    QImage image(devicePixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio_);
    const int dotsPerMeter = static_cast<int>(dotsPerInch_ / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(QColor::fromRgb(cell.backColour));

    const QChar character = characterOfCode(cell.captionCode);
    if (character.isNull())
        return image;
    QFont font(qtText(font_.family));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(font_.weight));
    font.setPointSizeF(cell.fontSize);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(cell.foreColour));
    // The painter works in the pixels the cells are laid out in: the ratio
    // scales the font's outlines, which are rasterised at the device size.
    const QRectF box(0, 0, devicePixels.width() / devicePixelRatio_, devicePixels.height() / devicePixelRatio_);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString(character));
    return image;
}

} // namespace korval
