#pragma once

#include <QFont>

namespace korval {

// The dialog's two faces. Both ask for "MS Sans Serif" and let the font
// system substitute a sans-serif face where it is not installed.

// The captions: 12 points, regular. A narrower substitute is preferred over a
// wide one so that the captions keep clear of the boxes beside them.
QFont captionFont();

// Every control without a font of its own: 8.25 points, regular.
QFont defaultFont();

// The default face at another size: what the measuring label measures. It is
// resolved exactly as the saver resolves its cell face (the same family and
// style hint), only in the regular weight.
QFont measuringFont(double pointSize);

} // namespace korval
