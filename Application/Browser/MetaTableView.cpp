// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Browser/MetaTableView.h"

#include "Application/Browser/BrowserView.h"
#include "Application/Node.h"
#include "RKKit/RKGradient.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

MetaTableView::MetaTableView(QWidget* parent)
    : DecoratedTableView(parent)
{
    hasAlternatingBackground = true;
}

MetaTableView::~MetaTableView() = default;

void MetaTableView::setRootNode(const std::shared_ptr<Node>& node)
{
    m_rootNode = node && !node->nodes().empty() ? node : std::static_pointer_cast<Node>(Node::node<TitleContainerNode>());
    setObjects(m_rootNode->nodes());
}

void MetaTableView::updateObjects()
{
    setRootNode(m_rootNode);
}

void MetaTableView::setObjects(const NodeList& objects)
{
    m_objects = objects;
    noteNumberOfRowsChanged();
}

RKTableCell* MetaTableView::cellAtRow(int row) const
{
    return nodeAtRow(row).get();
}

float MetaTableView::heightOfRow(int row) const
{
    const auto node = nodeAtRow(row);
    return node ? node->rowHeight() : 0;
}

bool MetaTableView::tableViewShouldSelectRow(int row) const
{
    const auto node = nodeAtRow(row);
    return node && node->canSelectNode();
}

QString MetaTableView::accessibleTextOfRow(int row) const
{
    const auto node = nodeAtRow(row);
    return node ? node->accessibleText() : QString();
}

QString MetaTableView::typeAheadTextOfRow(int row) const
{
    const auto node = nodeAtRow(row);
    return node ? node->primaryString() : QString();
}

std::shared_ptr<Node> MetaTableView::nodeAtRow(int row) const
{
    return row >= 0 && row < numberOfRows() ? m_objects[std::size_t(row)] : nullptr;
}

std::shared_ptr<Node> MetaTableView::selectedNode() const
{
    return nodeAtRow(selectedRow());
}

int MetaTableView::firstSelectableRow() const
{
    for (int row = 0; row < numberOfRows(); ++row) {
        if (m_objects[std::size_t(row)]->canSelectNode())
            return row;
    }
    return -1;
}

MetaTableView::NodeList MetaTableView::selectedObjects() const
{
    if (const auto node = selectedNode())
        return {node};
    return {};
}

void MetaTableView::saveSelectedObjects()
{
    m_selected = selectedObjects();
}

void MetaTableView::restoreSelectedObjects()
{
    deselectAll();
    for (const auto& node : m_selected) {
        const auto found = std::find(m_objects.begin(), m_objects.end(), node);
        if (found != m_objects.end())
            selectRowByExtendingSelection(int(found - m_objects.begin()), false);
    }
}

QPointF MetaTableView::tablePoint(const QMouseEvent* event) const
{
    const QPointF inViewport = viewport()->mapFromGlobal(event->globalPosition());
    return inViewport + QPointF(0, verticalScrollBar()->value());
}

void MetaTableView::mouseMoved(const QMouseEvent* event)
{
    if (!event)
        return;
    const int row = rowAtPoint(tablePoint(event));
    if (row < 0) {
        mouseExited(event);
        return;
    }
    if (row != m_mouseOverRow) {
        if (const auto left = nodeAtRow(m_mouseOverRow))
            left->mouseExitedCurrentFrame(event, rectOfRow(m_mouseOverRow));
        nodeAtRow(row)->mouseEnteredCurrentFrame(event, rectOfRow(row));
        m_mouseOverRow = row;
    }
    if (const auto over = nodeAtRow(m_mouseOverRow))
        over->mouseMovedCurrentFrame(event, rectOfRow(m_mouseOverRow));
}

void MetaTableView::mouseEntered(const QMouseEvent*)
{
    // The row's entry comes with the first motion over it.
}

void MetaTableView::mouseExited(const QMouseEvent* event)
{
    if (const auto left = nodeAtRow(m_mouseOverRow))
        left->mouseExitedCurrentFrame(event, rectOfRow(m_mouseOverRow));
    m_mouseOverRow = -1;
}

void MetaTableView::windowDidResignMain()
{
    mouseExited(nullptr);
}

void MetaTableView::changeEvent(QEvent* event)
{
    DecoratedTableView::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        windowDidResignMain();
}

bool MetaTableView::offerToHoveredNode(QMouseEvent* event, bool press)
{
    const auto node = nodeAtRow(m_mouseOverRow);
    if (!node)
        return false;
    const bool consumed = press ? node->nodeMouseDown(event) : node->nodeMouseUp(event);
    if (consumed)
        event->accept();
    return consumed;
}

void MetaTableView::mousePressEvent(QMouseEvent* event)
{
    // A press without a motion before it (a touch, the first click into the window) still
    // goes to the row under it.
    mouseMoved(event);
    if (event->button() == Qt::LeftButton && offerToHoveredNode(event, true))
        return;
    DecoratedTableView::mousePressEvent(event);
}

void MetaTableView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && offerToHoveredNode(event, false))
        return;
    DecoratedTableView::mouseReleaseEvent(event);
}

void MetaTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other for a node that takes them.
    if (event->button() == Qt::LeftButton && offerToHoveredNode(event, true))
        return;
    DecoratedTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && selectedRow() >= 0 && selectedRow() == rowAtPoint(tablePoint(event)))
        doubleAction();
}

void MetaTableView::doubleAction()
{
    if (const auto node = selectedNode())
        node->doubleClickedNode();
}

void MetaTableView::enterKeyPressed()
{
    doubleAction();
}

void MetaTableView::leftKeyPressed()
{
    if (m_browserView)
        m_browserView->leftKeyPressed(this);
}

void MetaTableView::rightKeyPressed()
{
    if (m_browserView)
        m_browserView->rightKeyPressed(this);
}

void MetaTableView::deleteKeyPressed()
{
    if (m_browserView)
        m_browserView->deleteKeyPressed(this);
}

void MetaTableView::escKeyPressed()
{
    DecoratedTableView::escKeyPressed();
    if (m_browserView)
        m_browserView->escKeyPressed(this);
}

QWidget* MetaTableView::nextValidKeyView()
{
    return m_browserView ? m_browserView->nextValidKeyView(this) : nullptr;
}

QWidget* MetaTableView::previousValidKeyView()
{
    return m_browserView ? m_browserView->previousValidKeyView(this) : nullptr;
}

CVHeaderView::CVHeaderView(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(stripHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CVHeaderView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    RKGradient::metalHeaderGradient().drawGradientInRect(painter, QRectF(rect()));
}

CVTableView::CVTableView(QWidget* parent)
    : MetaTableView(parent)
    , m_header(new CVHeaderView(this))
{
}
