// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The kit's palette. Every colour is one shared instance, built at its first request and kept,
// unchanged, for the process; callers may compare colours by identity (indexForColor does).
// Main thread only.

#include <QColor>

#include <cstdint>

class RKColor {
public:
    static const QColor& whiteColor();
    static const QColor& blackColor();
    static const QColor& grayColor();
    static const QColor& lightBlueColor();   // 237, 243, 254: every other row of a table
    static const QColor& grayColor40();
    static const QColor& grayColor70();      // the rule of separator rows
    static const QColor& grayColor80();      // the lines between browser columns
    // The theme's background of selected rows in a focused list, and in a list without focus:
    // the application palette's Highlight of the active and the inactive group, read once.
    static const QColor& alternateSelectedControlColor();
    static const QColor& secondarySelectedControlColor();
    // White with 0.3 of alternateSelectedControlColor blended in.
    static const QColor& whiteColorBlendedWithAlternate();

    // The background a table's colour index stands for: 0 white, 1 light blue, 2 and 3 the
    // focused and unfocused selection colours; none (nullptr) for any other index.
    static const QColor* colorForIndex(std::int32_t index);
    // 0, 1, 2 or 3 when the colour is that very shared instance (compared by identity, not
    // value); 0 for any other colour.
    static std::int32_t indexForColor(const QColor& color);

    // receiver × (1 − fraction) + other × fraction, component by component, alpha included.
    static QColor blendedColorWithFraction(const QColor& receiver, float fraction, const QColor& other);
};
