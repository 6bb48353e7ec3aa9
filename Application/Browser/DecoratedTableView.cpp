// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Browser/DecoratedTableView.h"

#include "RKKit/RKTableCell.h"

#include <QScrollBar>

#include <algorithm>

DecoratedTableView::DecoratedTableView(QWidget* parent)
    : RKTableView(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

float DecoratedTableView::heightOfRow(int) const
{
    return 32;
}

QRectF DecoratedTableView::rectOfRow(int row) const
{
    if (row < 0 || row + 1 >= int(m_origins.size()))
        return {};
    return QRectF(0, m_origins[std::size_t(row)], viewport()->width(), heightOfRow(row));
}

int DecoratedTableView::rowAtPoint(const QPointF& point) const
{
    // Rows are contiguous and sorted: the last origin at or above the point names the row.
    if (point.x() < 0 || point.x() >= viewport()->width() || m_origins.size() < 2)
        return -1;
    const auto above = std::upper_bound(m_origins.begin(), m_origins.end(), float(point.y()));
    if (above == m_origins.begin() || above == m_origins.end())
        return -1;
    return int(above - m_origins.begin()) - 1;
}

float DecoratedTableView::contentHeight() const
{
    return m_origins.back();
}

void DecoratedTableView::noteNumberOfRowsChanged()
{
    const int rows = std::max(0, numberOfRows());
    m_origins.assign(std::size_t(rows) + 1, 0.0f);
    for (int r = 0; r < rows; ++r)
        m_origins[std::size_t(r) + 1] = m_origins[std::size_t(r)] + float(int(heightOfRow(r)));
    RKTableView::noteNumberOfRowsChanged();
    addOrRemoveScroller();
}

void DecoratedTableView::addOrRemoveScroller()
{
    const bool need = contentHeight() > float(height());
    const Qt::ScrollBarPolicy policy = need ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
}

void DecoratedTableView::resizeEvent(QResizeEvent* event)
{
    RKTableView::resizeEvent(event);
    addOrRemoveScroller();
}

void DecoratedTableView::drawRowInRect(QPainter& painter, int row, const QRectF& frame)
{
    std::int32_t index = 0;
    if (isRowSelected(row))
        index = drawsFocusedSelection() ? 2 : 3;
    RKTableCell::drawBackgroundInRect(painter, frame, hasAlternatingBackground && row % 2 == 0, index);
    if (RKTableCell* cell = cellAtRow(row)) {
        cell->rkColorIndex = index;
        cell->drawWithFrameInView(painter, frame, this);
    }
}
