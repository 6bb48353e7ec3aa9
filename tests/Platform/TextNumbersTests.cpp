// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/TextNumbers.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(TextNumbers, FloatValueReadsTheLeadingNumber)
{
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"7.5", 7.5f}, {" 12abc", 12.0f}, {"", 0.0f}, {"abc", 0.0f}, {"-3", -3.0f}, {"+4.25", 4.25f},
        {"\t\n 1e3x", 1000.0f}, {".5", 0.5f}, {"-.5", -0.5f}, {"1.2.3", 1.2f}, {"-", 0.0f}, {".", 0.0f},
        {"inf", 0.0f}, {"nan", 0.0f}, {"0x10", 0.0f}, {"1e-400", 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(floatValue(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_TRUE(std::isinf(floatValue("1e400")));
}
