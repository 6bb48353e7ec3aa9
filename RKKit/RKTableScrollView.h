// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frame that holds one table (and its header strip, if it has one) in a column. The table
// scrolls itself; every change of this frame's size lays the table out again at once, so its
// scroll bar follows the new height.

#include <QWidget>

class RKTableView;

class RKTableScrollView : public QWidget {
    Q_OBJECT
public:
    explicit RKTableScrollView(QWidget* parent = nullptr);
    void setDocumentView(RKTableView* table);
    RKTableView* documentView() const { return m_table; }

private:
    RKTableView* m_table = nullptr;
};
