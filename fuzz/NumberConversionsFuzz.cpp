// Outside text to numbers in the user's regional format: the first byte picks
// the format, the rest is the text. Every text converts to a finite number
// in the target's range or raises a run-time error; a single written back as
// text always reads back.

#include "FuzzSupport.h"

#include "core/runtime/NumberConversions.h"
#include "platform/LocaleFormat.h"

#include <string>

#include <array>
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
    static const std::array<RegionalFormat, 4> formats{
        regionalFormatOf(fuzz::localeFor(0)), regionalFormatOf(fuzz::localeFor(1)),
        regionalFormatOf(fuzz::localeFor(2)), regionalFormatOf(fuzz::localeFor(3))};
    const RegionalFormat& format = formats[data[0] == '.' ? 0 : data[0] == ',' ? 1 : data[0] % formats.size()];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    fuzz::convertsOrRaises([&] {
        const float single = toSingle(text, format);
        if (!std::isfinite(single))
            fuzz::fail("toSingle returned a value that is not finite");
        // What the program writes from a single reads back in the same
        // format, exponents included (to 7 digits, so not always the same
        // single).
        if (!fuzz::convertsOrRaises([&] { toSingle(singleToText(single, format), format); }))
            fuzz::fail("singleToText wrote a text that toSingle refuses");
    });
    fuzz::convertsOrRaises([&] {
        if (!std::isfinite(toDouble(text, format)))
            fuzz::fail("toDouble returned a value that is not finite");
    });
    return 0;
}
