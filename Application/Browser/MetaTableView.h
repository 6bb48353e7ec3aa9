#pragma once

// One column of the browser: a table whose rows are the children of one node, its root.
// The rows are a snapshot of the root's children, re-read by updateObjects.

#include "RKKit/RKTableView.h"

#include <memory>
#include <vector>

class BrowserView;
class Node;

class MetaTableView : public RKTableView {
    Q_OBJECT
public:
    explicit MetaTableView(QWidget* parent = nullptr);
    ~MetaTableView() override;

    // A missing node, or one without children, is shown as a fresh placeholder.
    void setRootNode(const std::shared_ptr<Node>& node);
    const std::shared_ptr<Node>& rootNode() const { return m_rootNode; }
    void updateObjects();
    int numberOfRows() const override;
    std::shared_ptr<Node> nodeAtRow(int row) const;
    std::shared_ptr<Node> selectedNode() const;
    void reloadData() override;

    BrowserView* browserView = nullptr;

private:
    std::shared_ptr<Node> m_rootNode;
    std::vector<std::shared_ptr<Node>> m_objects;
};
