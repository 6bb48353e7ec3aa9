// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainterPath>
#include <QRectF>

// The capsule behind a search link under the pointer.
class RKRoundRect {
public:
    // A capsule with half-circle ends of radius height / 2 (whatever the width), each end two
    // cubic segments with control distance 0.55 × radius. It starts and ends at the bottom-left
    // (x + r, y + h) and runs round the left end, the top, the right end and the bottom; it is
    // not closed explicitly (filling closes it).
    static QPainterPath roundRectangleInRect(const QRectF& rect);
};
