// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSAttributedStringExtensions.h"

#include "RKKit/RKColor.h"

RKAttributedString AttributedStringExtensions::attributedStringWithColor(const RKAttributedString& text, const QColor& color)
{
    RKAttributedString recoloured = text;
    recoloured.attributes.foregroundColor = color;
    return recoloured;
}

RKAttributedString AttributedStringExtensions::whiteAttributedString(const RKAttributedString& text)
{
    return attributedStringWithColor(text, RKColor::whiteColor());
}

RKAttributedString AttributedStringExtensions::whiteAttributedStringWithAlpha(const RKAttributedString& text, float alpha)
{
    QColor white = RKColor::whiteColor();
    white.setAlphaF(alpha);
    return attributedStringWithColor(text, white);
}
