// Outside text to numbers in the user's regional format: the first byte picks
// the format, the rest is the text. Every text converts to a finite number
// in the target's range or raises a run-time error; a single written back as
// text in plain decimal form always reads back.

#include "FuzzSupport.h"

#include "core/runtime/NumberConversions.h"

#include <cmath>
#include <limits>

using namespace korval;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    QLocale::setDefault(fuzz::localeFor(data[0]));
    const QString text = fuzz::textOf(data + 1, size - 1);

    fuzz::convertsOrRaises([&] {
        const float single = toSingle(text);
        if (!std::isfinite(single))
            fuzz::fail("toSingle returned a value that is not finite");
        // What the program writes from a single must read back in the same
        // format. Qt writes exponents in Arabic and Persian formats in a form
        // that it cannot read back; cell sizes never need an exponent, so
        // only the plain form is held to this.
        const bool plain = single == 0 || (std::fabs(single) >= 1e-4f && std::fabs(single) < 1e7f);
        if (plain && !fuzz::convertsOrRaises([&] { toSingle(singleToText(single)); }))
            fuzz::fail("singleToText wrote a text that toSingle refuses");
    });
    fuzz::convertsOrRaises([&] {
        if (!std::isfinite(toDouble(text)))
            fuzz::fail("toDouble returned a value that is not finite");
    });
    return 0;
}
