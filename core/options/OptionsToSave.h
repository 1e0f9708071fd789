#pragma once

#include "DialogFields.h"
#include "LetterMeasure.h"

#include "core/runtime/RegionalFormat.h"
#include "core/settings/SettingEntries.h"

#include <string_view>

namespace korval {

// The four settings that the dialog's OK stores, in the order it writes them:
// the font size as chosen, the natural size of the letter at that size
// (measured afresh) plus each gap, and the banner choice.
//
// Each gap must be a whole number of pixels in -32768..32767 written in the
// user's regional format, and each resulting cell at least one pixel wide and
// high: a cell of less would stop the saver. Anything else raises a run-time
// error (type mismatch for a text that is not a whole number, overflow for one
// out of range, invalid property value for a cell below one pixel). The
// measuring rule and the user's number format are passed in.
SettingEntries entriesToSave(const DialogFields& fields, const LetterMeasure& measure, const RegionalFormat& format);

// A gap as typed, checked on its own as described above.
int wholeGap(std::string_view text, const RegionalFormat& format);

} // namespace korval
