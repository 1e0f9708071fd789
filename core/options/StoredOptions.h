#pragma once

#include "DialogFields.h"
#include "LetterMeasure.h"

#include "core/runtime/RegionalFormat.h"

namespace korval {

class SettingsStore;

// What the dialog shows when it opens, read from the store: the stored font
// size, the stored cell size less the natural size of the letter at that
// font size (the gaps), and the banner choice.
//
// A key that is missing or cannot be used (a font size the list does not
// offer, a cell size or banner setting that is not a number) is shown as the
// saver's default for that key, so that a first start, or a file edited by
// hand, opens the dialog with what the saver would really use. Never fails;
// the measuring rule and the user's number format are passed in.
DialogFields readStoredOptions(const SettingsStore& store, const LetterMeasure& measure,
                               const RegionalFormat& format);

} // namespace korval
