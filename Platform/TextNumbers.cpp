// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/TextNumbers.h"

#include <charconv>
#include <cmath>

float floatValue(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Only plain decimal notation: no "inf", "nan" or hexadecimal floats.
    if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.'))
        return 0.0f;
    float value = 0.0f;
    const char* first = text.data() + i;
    const auto result = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range: too large reads as infinity, too small as zero, as the C library does.
        std::size_t j = i;
        while (j < text.size() && ((text[j] >= '0' && text[j] <= '9') || text[j] == '.'))
            ++j;
        const bool negativeExponent = j + 1 < text.size() && (text[j] == 'e' || text[j] == 'E') && text[j + 1] == '-';
        const bool hasExponent = j < text.size() && (text[j] == 'e' || text[j] == 'E');
        const bool tinyMantissa = !hasExponent && (text[i] == '0' || text[i] == '.');
        value = negativeExponent || tinyMantissa ? 0.0f : HUGE_VALF;
    } else if (result.ec != std::errc()) {
        return 0.0f;
    }
    return negative ? -value : value;
}
