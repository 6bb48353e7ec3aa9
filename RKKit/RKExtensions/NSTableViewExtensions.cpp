// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSTableViewExtensions.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QSet>

#include <algorithm>

namespace TableViewExtensions {

namespace {

QSet<int> selectedRows(const QItemSelectionModel* selection, const QModelIndex& root)
{
    QSet<int> rows;
    if (!selection)
        return rows;
    for (const QItemSelectionRange& range : selection->selection()) {
        if (range.parent() != root)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    }
    return rows;
}

int firstOf(const QSet<int>& rows)
{
    if (rows.isEmpty())
        return 0;
    return *std::min_element(rows.cbegin(), rows.cend());
}

} // namespace

int numberOfSelectedRows(const QItemSelectionModel* selection)
{
    return int(selectedRows(selection, QModelIndex()).size());
}

int numberOfSelectedRows(const QAbstractItemView* view)
{
    return view ? int(selectedRows(view->selectionModel(), view->rootIndex()).size()) : 0;
}

int firstSelectedRow(const QItemSelectionModel* selection)
{
    return firstOf(selectedRows(selection, QModelIndex()));
}

int firstSelectedRow(const QAbstractItemView* view)
{
    return view ? firstOf(selectedRows(view->selectionModel(), view->rootIndex())) : 0;
}

} // namespace TableViewExtensions
