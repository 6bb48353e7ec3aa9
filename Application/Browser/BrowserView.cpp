// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Browser/BrowserView.h"

#include "Application/Browser/MetaTableView.h"
#include "Application/MainNode.h"
#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/Events.h"
#include "RKKit/RKTableScrollView.h"

#include <QPainter>

#include <algorithm>

namespace {

MetaTableView* makeMetaTableView()
{
    return new MetaTableView;
}

MetaTableView* makeCVTableView()
{
    return new CVTableView;
}

} // namespace

BrowserView::BrowserView(QWidget* parent)
    : BrowserView(parent, &makeMetaTableView)
{
}

BrowserView::BrowserView(QWidget* parent, TableFactory tableClass)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < numberOfColumns; ++i)
        createColumn(tableClass);

    auto root = Node::make<MainNode>();
    root->m_browserView = this;
    setRootNodeInColumn(root, 0);
    // Row 0 is the caption strip: a selection by call is made whatever the row allows.
    m_metaviews[0]->selectRowByExtendingSelection(0, false);
    resizeSubviewsWithOldSize(QSize());
}

BrowserView::~BrowserView()
{
    Events::stopListening(this);
}

void BrowserView::createColumn(TableFactory tableClass)
{
    static const char* const names[numberOfColumns] = {
        QT_TRANSLATE_NOOP("BrowserView", "Lookups"),
        QT_TRANSLATE_NOOP("BrowserView", "Similar artists"),
        QT_TRANSLATE_NOOP("BrowserView", "Links"),
    };
    MetaTableView* table = tableClass();
    table->setBrowserView(this);
    table->setAccessibleName(QCoreApplication::translate("BrowserView", names[m_metaviews.size()]));
    auto* scroll = new RKTableScrollView(this);
    scroll->setDocumentView(table);
    m_views.emplace_back(scroll);
    m_metaviews.emplace_back(table);
    const void* sender = static_cast<RKTableView*>(table);
    Events::listenForNotificationSelectorObject(this, TableViewSelectionDidChangeNotification, &BrowserView::selectionIsChanging, sender);
    Events::listenForNotificationSelectorObject(this, TableViewSelectionIsChangingNotification, &BrowserView::selectionIsChanging, sender);
}

void BrowserView::updateTables()
{
    for (const auto& table : m_metaviews) {
        if (table)
            table->updateObjects();
    }
}

void BrowserView::redrawNode(const Node* node)
{
    for (const auto& table : m_metaviews) {
        if (!table)
            continue;
        const auto& rows = table->objects();
        const auto found = std::find_if(rows.begin(), rows.end(), [node](const std::shared_ptr<Node>& row) { return row.get() == node; });
        if (found != rows.end()) {
            table->setNeedsDisplayInRow(int(found - rows.begin()));
            return;
        }
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

RKTableScrollView* BrowserView::scrollViewAtIndex(int index) const
{
    return index >= 0 && index < int(m_views.size()) ? m_views[std::size_t(index)].data() : nullptr;
}

int BrowserView::columnOfTable(const RKTableView* table) const
{
    for (std::size_t i = 0; i < m_metaviews.size(); ++i) {
        if (static_cast<const RKTableView*>(m_metaviews[i].data()) == table)
            return int(i);
    }
    return -1;
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

void BrowserView::selectRowInColumn(int row, int column)
{
    MetaTableView* table = tableAtIndex(column);
    if (!table)
        return;
    if (table->selectedRow() != row) {
        table->selectRowByExtendingSelection(row, false);
        table->scrollRowToVisible(row);
    }
    table->setFocus(Qt::OtherFocusReason);
}

void BrowserView::selectionIsChanging(const Notification& notification)
{
    // Tables post about themselves as RKTableView; a sender that is none of ours finds no column.
    selectionIsChangingInColumn(columnOfTable(static_cast<const RKTableView*>(notification.object)));
}

void BrowserView::selectionIsChangingInColumn(int column)
{
    MetaTableView* table = tableAtIndex(column);
    if (!table)
        return;
    if (const auto node = table->selectedNode())
        node->nodeWasSelected();
    // Asked again: the hook may have changed the selection.
    setRootNodeInColumn(table->selectedNode(), column + 1);
}

void BrowserView::leftKeyPressed(MetaTableView* table)
{
    const int column = columnOfTable(table);
    if (column > 0)
        tableAtIndex(column - 1)->setFocus(Qt::OtherFocusReason);
}

void BrowserView::rightKeyPressed(MetaTableView* table)
{
    const int column = columnOfTable(table);
    MetaTableView* next = column >= 0 ? tableAtIndex(column + 1) : nullptr;
    if (!next)
        return;
    if (next->selectedRow() < 0 && next->firstSelectableRow() >= 0)
        next->selectRowByExtendingSelection(next->firstSelectableRow(), false);
    next->setFocus(Qt::OtherFocusReason);
}

void BrowserView::escKeyPressed(MetaTableView* table)
{
    leftKeyPressed(table);
}

void BrowserView::deleteKeyPressed(MetaTableView* table)
{
    if (columnOfTable(table) != 0)
        return;
    const auto node = table->selectedNode();
    const auto root = rootNode();
    if (!node || !root || !MainNode::isSavedLookup(*node))
        return;
    root->removeNode(node.get());
    setRootNodeInColumn(nullptr, 1);
    updateTables();
    if (table->selectedRow() < 0)
        table->selectRowByExtendingSelection(table->numberOfRows() - 1, false);
    selectionIsChangingInColumn(0);
}

QWidget* BrowserView::nextValidKeyView(RKTableView* table) const
{
    const int column = columnOfTable(table);
    return column < 0 ? nullptr : tableAtIndex((column + 1) % numberOfColumns);
}

QWidget* BrowserView::previousValidKeyView(RKTableView* table) const
{
    const int column = columnOfTable(table);
    return column < 0 ? nullptr : tableAtIndex((column + numberOfColumns - 1) % numberOfColumns);
}

void BrowserView::resizeSubviewsWithOldSize(QSize)
{
    const int columns = int(m_views.size());
    if (columns == 0)
        return;
    const int width = this->width();
    const int base = int(float(width) / float(columns));
    const int remainder = width % columns;
    int x = 0;
    for (int j = 0; j < columns; ++j) {
        RKTableScrollView* view = m_views[std::size_t(j)];
        const int columnWidth = base - 1 + (j < remainder ? 1 : 0) + (j == columns - 1 ? 1 : 0);
        view->setGeometry(x, 0, std::max(0, columnWidth), height());
        x += base + (j < remainder ? 1 : 0);
    }
    update();
}

void BrowserView::resizeEvent(QResizeEvent*)
{
    resizeSubviewsWithOldSize(QSize());
}

void BrowserView::paintEvent(QPaintEvent*)
{
    // A one-point line in the gap after every column but the last, over the full height.
    QPainter painter(this);
    for (std::size_t j = 0; j + 1 < m_views.size(); ++j) {
        const QRect frame = m_views[j]->geometry();
        painter.fillRect(QRectF(frame.x() + frame.width(), frame.y(), 1, frame.height()), RKColor::grayColor80());
    }
}

CVBrowserView::CVBrowserView(QWidget* parent)
    : BrowserView(parent, &makeCVTableView)
{
}
