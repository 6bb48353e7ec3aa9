// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The three-column browser: selecting a row in one column shows that row's node's children in
// the next and empties the columns after it. It owns the root node through column 0's table,
// carries out Left, Right, Escape, Delete and Tab between its columns, lays the columns out on
// whole points and draws the one-point dividers between them. Nodes call back into it to
// refresh, redraw and select; a node not attached under the root finds no browser.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class MainNode;
class MetaTableView;
class Node;
class RKTableScrollView;
class RKTableView;
struct Notification;

class BrowserView : public QWidget {
    Q_OBJECT
public:
    static constexpr int numberOfColumns = 3;

    explicit BrowserView(QWidget* parent = nullptr);
    ~BrowserView() override;

    // Every column re-reads the children of its root node.
    void updateTables();
    // Repaints the node's row in the first column (from the left) that shows it.
    void redrawNode(const Node* node);
    // Column 0's root.
    std::shared_ptr<MainNode> rootNode() const;
    // The column's table; none beyond the last column.
    MetaTableView* tableAtIndex(int index) const;
    // The column of a table of this browser, -1 for any other.
    int columnOfTable(const RKTableView* table) const;
    // Shows the node's children in the column (a new node also clears the column's selection
    // and scrolls it to the top) and empties every column after it; none shows a placeholder.
    // Nothing happens beyond the last column.
    void setRootNodeInColumn(const std::shared_ptr<Node>& node, int column);
    // Selects the row of the column as the user would see it selected (when it is not already),
    // scrolls it into view and gives the column the keyboard focus.
    void selectRowInColumn(int row, int column);

    void selectionIsChanging(const Notification& notification);
    void selectionIsChangingInColumn(int column);

    // Keys, forwarded by the table that received them.
    void leftKeyPressed(MetaTableView* table);
    void rightKeyPressed(MetaTableView* table);
    void escKeyPressed(MetaTableView* table);
    void deleteKeyPressed(MetaTableView* table);
    // Tab and Shift-Tab cycle through the three columns.
    QWidget* nextValidKeyView(RKTableView* table) const;
    QWidget* previousValidKeyView(RKTableView* table) const;

    // Columns of base − 1 points (the remainder spread over the first ones, the last one a point
    // wider), each followed by a one-point gap for a divider.
    void resizeSubviewsWithOldSize(QSize oldSize);
    // The scroll view holding the column's table.
    RKTableScrollView* scrollViewAtIndex(int index) const;

protected:
    using TableFactory = MetaTableView* (*)();
    BrowserView(QWidget* parent, TableFactory tableClass);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createColumn(TableFactory tableClass);

    std::vector<QPointer<RKTableScrollView>> m_views;
    std::vector<QPointer<MetaTableView>> m_metaviews;
};

// The application's browser: its columns carry the metal header strip.
class CVBrowserView : public BrowserView {
    Q_OBJECT
public:
    explicit CVBrowserView(QWidget* parent = nullptr);
};
