// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor rgb(float red, float green, float blue)
{
    return QColor::fromRgbF(red, green, blue, 1.0f);
}

QColor themeHighlight(QPalette::ColorGroup group)
{
    // Converted to plain RGB, so every colour of the palette has the same representation.
    return QGuiApplication::palette().color(group, QPalette::Highlight).toRgb();
}

} // namespace

#define RK_SHARED_COLOR(name, ...)                     \
    const QColor& RKColor::name()                      \
    {                                                  \
        static const QColor color = __VA_ARGS__;       \
        return color;                                  \
    }

RK_SHARED_COLOR(whiteColor, rgb(1, 1, 1))
RK_SHARED_COLOR(blackColor, rgb(0, 0, 0))
RK_SHARED_COLOR(grayColor, rgb(0.5f, 0.5f, 0.5f))
RK_SHARED_COLOR(lightBlueColor, rgb(0.929412f, 0.952941f, 0.996078f))
RK_SHARED_COLOR(grayColor40, rgb(0.4f, 0.4f, 0.4f))
RK_SHARED_COLOR(grayColor70, rgb(0.7f, 0.7f, 0.7f))
RK_SHARED_COLOR(grayColor80, rgb(0.8f, 0.8f, 0.8f))
RK_SHARED_COLOR(alternateSelectedControlColor, themeHighlight(QPalette::Active))
RK_SHARED_COLOR(secondarySelectedControlColor, themeHighlight(QPalette::Inactive))
RK_SHARED_COLOR(whiteColorBlendedWithAlternate, blendedColorWithFraction(whiteColor(), 0.3f, alternateSelectedControlColor()))

#undef RK_SHARED_COLOR

const QColor* RKColor::colorForIndex(std::int32_t index)
{
    switch (index) {
    case 0: return &whiteColor();
    case 1: return &lightBlueColor();
    case 2: return &alternateSelectedControlColor();
    case 3: return &secondarySelectedControlColor();
    default: return nullptr;
    }
}

std::int32_t RKColor::indexForColor(const QColor& color)
{
    for (std::int32_t index = 0; index < 4; ++index) {
        if (&color == colorForIndex(index))
            return index;
    }
    return 0;
}

QColor RKColor::blendedColorWithFraction(const QColor& receiver, float fraction, const QColor& other)
{
    const auto mix = [fraction](float a, float b) { return a * (1.0f - fraction) + b * fraction; };
    return QColor::fromRgbF(mix(receiver.redF(), other.redF()), mix(receiver.greenF(), other.greenF()),
                            mix(receiver.blueF(), other.blueF()), mix(receiver.alphaF(), other.alphaF()));
}
