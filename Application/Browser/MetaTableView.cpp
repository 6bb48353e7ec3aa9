#include "Application/Browser/MetaTableView.h"

#include "Application/Node.h"

MetaTableView::MetaTableView(QWidget* parent)
    : RKTableView(parent)
{
}

MetaTableView::~MetaTableView() = default;

void MetaTableView::setRootNode(const std::shared_ptr<Node>& node)
{
    m_rootNode = node && !node->nodes().empty() ? node : std::static_pointer_cast<Node>(Node::node<TitleContainerNode>());
    m_objects = m_rootNode->nodes();
    RKTableView::reloadData();
}

void MetaTableView::updateObjects()
{
    setRootNode(m_rootNode);
}

int MetaTableView::numberOfRows() const
{
    return int(m_objects.size());
}

std::shared_ptr<Node> MetaTableView::nodeAtRow(int row) const
{
    return row >= 0 && row < numberOfRows() ? m_objects[std::size_t(row)] : nullptr;
}

std::shared_ptr<Node> MetaTableView::selectedNode() const
{
    return nodeAtRow(selectedRow());
}

void MetaTableView::reloadData()
{
    updateObjects();
}
