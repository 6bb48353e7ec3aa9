// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Rows of different heights on the kit's table: the top edge of every row is kept in one array,
// rebuilt whenever the rows change, and every geometry question is answered from it. Rows are
// painted light blue and white in turn (when asked), the selected one over a blue gradient in
// the focused table and a gray one elsewhere, then by their cells. The vertical scroll bar shows
// only while the rows are taller than the table.

#include "RKKit/RKTableView.h"

#include <vector>

class DecoratedTableView : public RKTableView {
    Q_OBJECT
public:
    explicit DecoratedTableView(QWidget* parent = nullptr);

    float heightOfRow(int row) const override; // 32 unless a subclass says otherwise
    QRectF rectOfRow(int row) const override;
    int rowAtPoint(const QPointF& point) const override;
    float contentHeight() const override;
    // Rebuilds the row origins, then re-reads the rows.
    void noteNumberOfRowsChanged() override;
    // Shows the scroll bar exactly while the rows are taller than the visible area.
    void addOrRemoveScroller();

    const std::vector<float>& origins() const { return m_origins; }

    bool hasAlternatingBackground = false;

protected:
    void drawRowInRect(QPainter& painter, int row, const QRectF& frame) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Entry r is the top of row r; one entry more than rows, the last being the content height.
    std::vector<float> m_origins{0};
};
