#include "core/runtime/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korval {
namespace {

struct DecodeRow {
    const char* name;
    std::string bytes;
    std::vector<char32_t> codePoints;
};

constexpr char32_t R = utf8::kReplacement;

class Utf8Next : public ::testing::TestWithParam<DecodeRow> {};

// Every byte of a sequence that is not UTF-8 decodes to one replacement, so
// that what follows it is read as it stands.
TEST_P(Utf8Next, DecodesSequencesAndReplacesEveryBadByte)
{
    const std::string& bytes = GetParam().bytes;
    std::vector<char32_t> decoded;
    for (std::size_t position = 0; position < bytes.size();)
        decoded.push_back(utf8::next(bytes, position));
    EXPECT_EQ(decoded, GetParam().codePoints);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Next,
    ::testing::Values(DecodeRow{"ascii", "a1", {U'a', U'1'}},
                      DecodeRow{"twoBytes", "\xC5\x99", {0x159}},
                      DecodeRow{"threeBytes", "\xE8\x80\x80", {0x8000}},
                      DecodeRow{"fourBytes", "\xF0\x9F\x98\x80", {0x1F600}},
                      DecodeRow{"largestCodePoint", "\xF4\x8F\xBF\xBF", {0x10FFFF}},
                      DecodeRow{"beyondTheLargest", "\xF4\x90\x80\x80", {R, R, R, R}},
                      DecodeRow{"overlongTwoBytes", "\xC0\xAF", {R, R}},
                      DecodeRow{"overlongThreeBytes", "\xE0\x80\xAF", {R, R, R}},
                      DecodeRow{"surrogate", "\xED\xA0\x80", {R, R, R}},
                      DecodeRow{"loneContinuation", "\x80" "a", {R, U'a'}},
                      DecodeRow{"cutShort", "\xE8\x80", {R, R}},
                      DecodeRow{"leadF5", "\xF5\x80\x80\x80", {R, R, R, R}},
                      DecodeRow{"leadF8AsThreeBytes", "\xF8\x80\x80", {R, R, R}},
                      DecodeRow{"leadFC", "\xFC\x80\x80\x80\x80\x80", {R, R, R, R, R, R}},
                      DecodeRow{"leadFF", "\xFF" "a", {R, U'a'}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
