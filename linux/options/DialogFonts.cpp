#include "DialogFonts.h"

#include "core/saver/Typeface.h"
#include "platform/QtText.h"

#include <QStringList>

namespace korval {
namespace {

QFont regularFace(double pointSize)
{
    QFont font(qtText(kFaceName));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

QFont captionFont()
{
    QFont font = regularFace(12.0);
    font.setFamilies({qtText(kFaceName), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans Condensed")});
    return font;
}

QFont defaultFont()
{
    return regularFace(8.25);
}

QFont measuringFont(double pointSize)
{
    return regularFace(pointSize);
}

} // namespace korval
