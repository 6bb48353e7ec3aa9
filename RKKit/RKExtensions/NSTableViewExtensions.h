// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractItemView;
class QItemSelectionModel;

// Row selection queries; rows are those of the top level (or of the view's root index).
namespace TableViewExtensions {

// The number of distinct rows with at least one selected cell.
int numberOfSelectedRows(const QItemSelectionModel* selection);
int numberOfSelectedRows(const QAbstractItemView* view);

// The smallest selected row; 0 when no row is selected.
int firstSelectedRow(const QItemSelectionModel* selection);
int firstSelectedRow(const QAbstractItemView* view);

} // namespace TableViewExtensions
