#pragma once

#include "FakePlatform.h"

#include "core/saver/CellArray.h"

#include <gtest/gtest.h>

#include <string>

namespace korval::testing {

// What start-up ends in: the template cell as the settings made it, or the
// number of the run-time error that stopped it.
struct Outcome {
    float fontSize = 10;
    float width = 13;
    float height = 18;
    int error = 0;
};

inline Outcome fails(int error) { return {0, 0, 0, error}; }
inline Outcome cell(float width, float height = 18, float fontSize = 10) { return {fontSize, width, height, 0}; }

// The grid was built from that cell, without a message and without ending;
// or the error's one message box ended the program.
inline void expectOutcome(const FakePlatform& platform, const CellArray& M1, const Outcome& outcome)
{
    if (outcome.error != 0) {
        ASSERT_EQ(platform.messages.size(), 1u) << "one message box, then the end";
        const std::string expected = RuntimeError(outcome.error, "").message();
        EXPECT_EQ(platform.messages[0].text.rfind(expected, 0), 0u) << platform.messages[0].text;
        EXPECT_EQ(platform.messages[0].style, MessageStyle::Critical);
        EXPECT_EQ(platform.exitStatus, 1);
        return;
    }
    ASSERT_TRUE(platform.messages.empty()) << platform.messages[0].text;
    EXPECT_FALSE(platform.ended());
    EXPECT_FLOAT_EQ(M1[0].fontSize, outcome.fontSize);
    EXPECT_FLOAT_EQ(M1[0].width, outcome.width);
    EXPECT_FLOAT_EQ(M1[0].height, outcome.height);
    EXPECT_GT(M1.count(), 1);
}

} // namespace korval::testing
