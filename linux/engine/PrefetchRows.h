#pragma once

#include <QtGlobal>

#include <cstddef>

namespace korval {

// Asks for every row of an area of an image before it is written. The rows
// lie a whole image line apart, each in a page of its own on a large screen,
// and the processor fetches them together instead of one after the other.
inline void prefetchRows(uchar* first, qsizetype bytesPerLine, int rows, std::size_t rowBytes)
{
#if defined(__GNUC__)
    for (int y = 0; y < rows; ++y, first += bytesPerLine) {
        __builtin_prefetch(first, 1);
        __builtin_prefetch(first + rowBytes - 1, 1);
    }
#else
    (void)first, (void)bytesPerLine, (void)rows, (void)rowBytes;
#endif
}

} // namespace korval
