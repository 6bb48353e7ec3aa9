#pragma once

// The three-column browser: selecting a row in one column shows that row's node's children in
// the next. It owns the root node through column 0's table. Nodes call back into it to refresh
// and redraw; a node not attached under the root finds no browser, and those calls are skipped.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class MainNode;
class MetaTableView;
class Node;
struct Notification;

class BrowserView : public QWidget {
    Q_OBJECT
public:
    static constexpr int numberOfColumns = 3;

    explicit BrowserView(QWidget* parent = nullptr);
    ~BrowserView() override;

    // Every column re-reads the children of its root node.
    void updateTables();
    // Repaints the row of the node wherever it is shown.
    void redrawNode(const Node* node);
    // Column 0's root.
    std::shared_ptr<MainNode> rootNode() const;
    // The column's table; none beyond the last column.
    MetaTableView* tableAtIndex(int index) const;
    // Shows the node's children in the column and empties every column after it; none shows
    // a placeholder. Nothing happens beyond the last column.
    void setRootNodeInColumn(const std::shared_ptr<Node>& node, int column);

    void selectionIsChanging(const Notification& notification);
    void selectionIsChangingInColumn(int column);

private:
    void createColumn();

    std::vector<QPointer<MetaTableView>> m_metaviews;
};
