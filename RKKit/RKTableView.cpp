#include "RKKit/RKTableView.h"

#include "RKKit/RKExtensions/Events.h"

RKTableView::RKTableView(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void RKTableView::selectRowByExtendingSelection(int row, bool)
{
    m_selectedRow = row >= 0 && row < numberOfRows() ? row : -1;
    selectionDidChange();
}

void RKTableView::deselectAll()
{
    const bool changed = m_selectedRow != -1;
    m_selectedRow = -1;
    if (changed)
        selectionDidChange();
}

void RKTableView::scrollRowToVisible(int)
{
    // Rows are laid out by the table engine; until it scrolls, every row is in view.
}

void RKTableView::reloadData()
{
    if (m_selectedRow >= numberOfRows())
        deselectAll();
    update();
}

void RKTableView::selectionDidChange()
{
    update();
    Events::postNotificationAboutSelf(this, TableViewSelectionDidChangeNotification);
}
