// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A vertical ramp of 100 precomputed colours from a (top) towards b (bottom), with an optional
// colour for the first line (c) and for the last line (d). The three shared gradients are built
// at their first request and kept for the process. Main thread only.

#include <QColor>

#include <array>
#include <optional>

class QPainter;
class QRectF;

class RKGradient {
public:
    static constexpr int numberOfEntries = 100;

    static const RKGradient& selectedGradient();      // selected row, focused table: blue
    static const RKGradient& selectedGrayGradient();  // selected row, table without focus: gray
    static const RKGradient& metalHeaderGradient();   // column headers and title rows

    // Paints the rectangle line by line, one point per line, from its top: line k takes entry
    // (k / height × 100), the first line c and the last line d where they are set. Lines start
    // at x = 0 and are the rectangle's width wide; with a fractional height the last line
    // reaches below the rectangle by less than a point. Fills replace the pixels.
    void drawGradientInRect(QPainter& painter, const QRectF& rect) const;

    QColor a, b;
    std::optional<QColor> c, d;
    // Entry i is a blended with i/100 of b; b itself is never reached.
    std::array<QColor, numberOfEntries> color;

    // How many gradients this process has built (each shared one counts once).
    static int buildCount();

private:
    RKGradient(const QColor& a, const QColor& b, std::optional<QColor> c, std::optional<QColor> d);
};
