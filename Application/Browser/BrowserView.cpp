#include "Application/Browser/BrowserView.h"

#include "Application/Browser/MetaTableView.h"
#include "Application/MainNode.h"
#include "RKKit/RKExtensions/Events.h"

#include <QHBoxLayout>

BrowserView::BrowserView(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < numberOfColumns; ++i)
        createColumn();

    auto root = Node::make<MainNode>();
    root->m_browserView = this;
    setRootNodeInColumn(root, 0);
    m_metaviews[0]->selectRowByExtendingSelection(0, false);
}

BrowserView::~BrowserView()
{
    Events::stopListening(this);
}

void BrowserView::createColumn()
{
    auto* table = new MetaTableView(this);
    table->browserView = this;
    layout()->addWidget(table);
    m_metaviews.emplace_back(table);
    Events::listenForNotificationSelectorObject(this, TableViewSelectionDidChangeNotification,
                                                &BrowserView::selectionIsChanging, static_cast<const void*>(static_cast<RKTableView*>(table)));
}

void BrowserView::updateTables()
{
    for (const auto& table : m_metaviews) {
        if (table)
            table->updateObjects();
    }
}

void BrowserView::redrawNode(const Node*)
{
    for (const auto& table : m_metaviews) {
        if (table)
            table->update();
    }
}

std::shared_ptr<MainNode> BrowserView::rootNode() const
{
    MetaTableView* table = tableAtIndex(0);
    return table ? std::dynamic_pointer_cast<MainNode>(table->rootNode()) : nullptr;
}

MetaTableView* BrowserView::tableAtIndex(int index) const
{
    return index >= 0 && index < int(m_metaviews.size()) ? m_metaviews[std::size_t(index)].data() : nullptr;
}

void BrowserView::setRootNodeInColumn(const std::shared_ptr<Node>& node, int column)
{
    MetaTableView* table = tableAtIndex(column);
    if (!table)
        return;
    if (!node || node != table->rootNode()) {
        table->setRootNode(node);
        table->deselectAll();
        table->scrollRowToVisible(0);
    }
    for (int later = column + 1; later < int(m_metaviews.size()); ++later) {
        if (MetaTableView* next = tableAtIndex(later))
            next->setRootNode(nullptr);
    }
}

void BrowserView::selectionIsChanging(const Notification& notification)
{
    for (int i = 0; i < int(m_metaviews.size()); ++i) {
        if (static_cast<const void*>(static_cast<RKTableView*>(m_metaviews[std::size_t(i)].data())) == notification.object) {
            selectionIsChangingInColumn(i);
            return;
        }
    }
}

void BrowserView::selectionIsChangingInColumn(int column)
{
    MetaTableView* table = tableAtIndex(column);
    if (!table)
        return;
    if (const auto node = table->selectedNode())
        node->nodeWasSelected();
    setRootNodeInColumn(table->selectedNode(), column + 1);
}
