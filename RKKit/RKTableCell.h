// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QPainter;
class QRectF;
class QWidget;

// The kit's table cell: the colour index of the background a row is about to be drawn on,
// written by the table before each draw (0 not selected, 2 selected in the focused table,
// 3 selected in a table without focus). Cells draw white text and selected pictures on 2 and 3.
class RKTableCell {
public:
    virtual ~RKTableCell() = default;
    std::int32_t rkColorIndex = 0;

    bool isDrawnSelected() const { return rkColorIndex == 2 || rkColorIndex == 3; }

    // Draws the row into its frame (the table's width, the row's height) over the background the
    // table has painted; the view is the table.
    virtual void drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget* view);

    // The background a table paints under a row before its cell draws: light blue or white,
    // then for index 2 the blue selection gradient, for 3 the gray one. Fills replace pixels.
    static void drawBackgroundInRect(QPainter& painter, const QRectF& rect, bool lightBlue, std::int32_t colorIndex);
};
