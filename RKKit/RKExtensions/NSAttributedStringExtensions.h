// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RKKit/RKText.h"

// Recolouring a styled text; everything but the foreground colour stays as it is.
namespace AttributedStringExtensions {

RKAttributedString attributedStringWithColor(const RKAttributedString& text, const QColor& color);
RKAttributedString whiteAttributedString(const RKAttributedString& text);
RKAttributedString whiteAttributedStringWithAlpha(const RKAttributedString& text, float alpha);

} // namespace AttributedStringExtensions
