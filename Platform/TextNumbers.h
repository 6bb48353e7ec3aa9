// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// Reads a number from the start of a text the way the desktop's text classes do: leading white
// space is skipped, then an optional sign, digits, an optional fraction and exponent are read;
// what follows is ignored; a text without a number reads as 0. Independent of the C locale.
float floatValue(std::string_view text);
