// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One column of the browser: a table whose rows are the children of one node, its root. The
// rows are a snapshot of the root's children, re-read by updateObjects; each row's node draws
// it, says how tall it is and whether the user may select it. The table follows the pointer
// over its rows (entry, exit and motion hooks of the nodes), offers presses to the node under
// the pointer first, and hands the navigation keys and the focus order to its browser.

#include "Application/Browser/DecoratedTableView.h"

#include <memory>
#include <vector>

class BrowserView;
class Node;
class QMouseEvent;

class MetaTableView : public DecoratedTableView {
    Q_OBJECT
public:
    using NodeList = std::vector<std::shared_ptr<Node>>;

    explicit MetaTableView(QWidget* parent = nullptr);
    ~MetaTableView() override;

    BrowserView* browserView() const { return m_browserView; }
    void setBrowserView(BrowserView* browser) { m_browserView = browser; }

    // A missing node, or one without children, is replaced by a fresh placeholder (one blank
    // caption strip). Neither the selection nor the scroll position is touched.
    void setRootNode(const std::shared_ptr<Node>& node);
    const std::shared_ptr<Node>& rootNode() const { return m_rootNode; }
    const NodeList& objects() const { return m_objects; }
    // Re-reads the root's children; the selected row index stays while it is still a row.
    void updateObjects();
    void setObjects(const NodeList& objects);

    int numberOfRows() const override { return int(m_objects.size()); }
    int numberOfColumns() const { return 1; }
    RKTableCell* cellAtRow(int row) const override;
    float heightOfRow(int row) const override;
    bool tableViewShouldSelectRow(int row) const override;
    QString accessibleTextOfRow(int row) const override;
    QString typeAheadTextOfRow(int row) const override;

    std::shared_ptr<Node> nodeAtRow(int row) const;
    std::shared_ptr<Node> selectedNode() const;
    // The first row the user may select, -1 when none.
    int firstSelectableRow() const;
    NodeList selectedObjects() const;
    void saveSelectedObjects();
    void restoreSelectedObjects();

    // Hover: the row under the pointer, -1 when none. The events may be none.
    int mouseOverRow() const { return m_mouseOverRow; }
    void mouseMoved(const QMouseEvent* event);
    void mouseEntered(const QMouseEvent* event);
    void mouseExited(const QMouseEvent* event);
    // The window stopped being the active one: the hovered row's node is told the pointer left.
    void windowDidResignMain();

public Q_SLOTS:
    // The selected node's doubleClickedNode (not necessarily the row clicked); nothing without one.
    void doubleAction();
    void enterKeyPressed();
    void leftKeyPressed();
    void rightKeyPressed();
    void deleteKeyPressed();
    void escKeyPressed() override;

protected:
    QWidget* nextValidKeyView() override;
    QWidget* previousValidKeyView() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The pointer's place in the table's own coordinates.
    QPointF tablePoint(const QMouseEvent* event) const;
    // Offers the press or release to the node of the hovered row; true when it consumed it.
    bool offerToHoveredNode(QMouseEvent* event, bool press);

    BrowserView* m_browserView = nullptr;
    std::shared_ptr<Node> m_rootNode;
    NodeList m_objects;
    NodeList m_selected;
    int m_mouseOverRow = -1;
};

// The metal strip above an application column.
class CVHeaderView : public QWidget {
    Q_OBJECT
public:
    static constexpr int stripHeight = 4;
    explicit CVHeaderView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The application's column: a node table with the metal strip above it.
class CVTableView : public MetaTableView {
    Q_OBJECT
public:
    explicit CVTableView(QWidget* parent = nullptr);
    QWidget* headerView() const override { return m_header; }

private:
    CVHeaderView* m_header;
};
