// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKTableView.h"

#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/Events.h"
#include "RKKit/RKTableCell.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

// The rows as Qt's item view sees them: one item per row, its text for screen readers and
// type-ahead, selectable when the user may select it (or a call has selected it).
class RKTableModel : public QAbstractListModel {
public:
    explicit RKTableModel(RKTableView* table)
        : QAbstractListModel(table)
        , m_table(table)
    {
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return m_table->typeAheadTextOfRow(index.row());
        case Qt::AccessibleTextRole:
            return m_table->accessibleTextOfRow(index.row());
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (index.row() == m_table->m_rowSelectedByCall || m_table->tableViewShouldSelectRow(index.row()))
            flags |= Qt::ItemIsSelectable;
        return flags;
    }

    // Re-reads the row count; the view lays every row out again.
    void reset()
    {
        beginResetModel();
        m_rows = std::max(0, m_table->numberOfRows());
        endResetModel();
    }

private:
    RKTableView* m_table;
    int m_rows = 0;
};

// Rows are as tall as the table says and paint themselves.
class RKTableRowDelegate : public QStyledItemDelegate {
public:
    explicit RKTableRowDelegate(RKTableView* table)
        : QStyledItemDelegate(table)
        , m_table(table)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        // Whole points, so the item view's layout and the table's row origins agree.
        return QSize(1, int(m_table->heightOfRow(index.row())));
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRectF frame(0, option.rect.y(), m_table->viewport()->width(), option.rect.height());
        painter->save();
        m_table->drawRowInRect(*painter, index.row(), frame);
        painter->restore();
    }

private:
    RKTableView* m_table;
};

RKTableView::RKTableView(QWidget* parent)
    : QListView(parent)
    , m_model(new RKTableModel(this))
    , m_delegate(this)
{
    setModel(m_model);
    setItemDelegate(new RKTableRowDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformItemSizes(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(true);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, RKColor::whiteColor());
    viewport()->setPalette(colours);
}

RKTableView::~RKTableView()
{
    Events::stopListening(this);
}

float RKTableView::heightOfRow(int) const
{
    return rowHeightSetting + 2;
}

RKTableCell* RKTableView::cellAtRow(int) const
{
    return nullptr;
}

bool RKTableView::tableViewShouldSelectRow(int) const
{
    return true;
}

QString RKTableView::accessibleTextOfRow(int) const
{
    return {};
}

QString RKTableView::typeAheadTextOfRow(int row) const
{
    return accessibleTextOfRow(row);
}

QRectF RKTableView::rectOfRow(int row) const
{
    if (row < 0 || row >= numberOfRows())
        return {};
    const float height = rowHeightSetting + 2;
    return QRectF(0, row * height, viewport()->width(), height);
}

int RKTableView::rowAtPoint(const QPointF& point) const
{
    for (int row = 0; row < numberOfRows(); ++row) {
        const QRectF rect = rectOfRow(row);
        if (point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() && point.y() < rect.bottom())
            return row;
    }
    return -1;
}

float RKTableView::contentHeight() const
{
    return numberOfRows() * (rowHeightSetting + 2);
}

QModelIndex RKTableView::indexOfRow(int row) const
{
    return m_model->index(row, 0);
}

int RKTableView::selectedRow() const
{
    // From the selection's ranges, not selectedIndexes(), which asks each row whether it is
    // selectable: rows change under a selection before the table re-reads them.
    const QItemSelection selection = selectionModel()->selection();
    return selection.isEmpty() ? -1 : selection.first().top();
}

void RKTableView::selectRowByExtendingSelection(int row, bool)
{
    if (row < 0 || row >= m_model->rowCount()) {
        deselectAll();
        return;
    }
    if (row == selectedRow())
        return;
    // A call may select a row the user could not: it is selectable for as long as it is selected.
    m_rowSelectedByCall = tableViewShouldSelectRow(row) ? -1 : row;
    selectionModel()->setCurrentIndex(indexOfRow(row), QItemSelectionModel::ClearAndSelect);
}

void RKTableView::deselectAll()
{
    if (selectedRow() < 0)
        return;
    selectionModel()->clearSelection();
}

void RKTableView::scrollRowToVisible(int row)
{
    if (row >= 0 && row < m_model->rowCount())
        scrollTo(indexOfRow(row), QAbstractItemView::EnsureVisible);
}

void RKTableView::noteNumberOfRowsChanged()
{
    const int selected = selectedRow();
    const int scroll = verticalScrollBar()->value();
    m_silent = true;
    m_model->reset();
    const bool kept = selected >= 0 && selected < m_model->rowCount();
    if (kept) {
        if (!tableViewShouldSelectRow(selected))
            m_rowSelectedByCall = selected;
        selectionModel()->setCurrentIndex(indexOfRow(selected), QItemSelectionModel::ClearAndSelect);
    } else {
        m_rowSelectedByCall = -1;
    }
    m_silent = false;
    verticalScrollBar()->setValue(scroll);
    if (selected >= 0 && !kept)
        selectionDidChange(); // the selected row went away: that is a change of selection
}

void RKTableView::setNeedsDisplayInRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QRect rect = visualRect(indexOfRow(row));
    viewport()->update(QRect(0, rect.y(), viewport()->width(), rect.height())); // the whole row, as it is painted
}

bool RKTableView::tryToPerformSelector(const char* name)
{
    const QByteArray signature = QByteArray(name) + "()";
    for (QObject* target : {static_cast<QObject*>(this), m_delegate}) {
        if (target && target->metaObject()->indexOfMethod(signature.constData()) >= 0)
            return QMetaObject::invokeMethod(target, name, Qt::DirectConnection);
    }
    return false;
}

bool RKTableView::drawsFocusedSelection() const
{
    return hasFocus() && isActiveWindow();
}

void RKTableView::homeKeyPressed()
{
    scrollRowToVisible(0);
}

void RKTableView::endKeyPressed()
{
    if (numberOfRows() > 0)
        scrollRowToVisible(numberOfRows() - 1);
}

void RKTableView::escKeyPressed()
{
    deselectAll();
}

void RKTableView::drawRowInRect(QPainter& painter, int row, const QRectF& frame)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(frame, RKColor::whiteColor());
    painter.setCompositionMode(mode);
    if (RKTableCell* cell = cellAtRow(row)) {
        cell->rkColorIndex = isRowSelected(row) ? (drawsFocusedSelection() ? 2 : 3) : 0;
        RKTableCell::drawBackgroundInRect(painter, frame, false, cell->rkColorIndex);
        cell->drawWithFrameInView(painter, frame, this);
    }
}

void RKTableView::keyPressEvent(QKeyEvent* event)
{
    // Modifiers are not looked at: Shift-Left is a Left.
    const char* hook = nullptr;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: hook = "deleteKeyPressed"; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: hook = "enterKeyPressed"; break;
    case Qt::Key_Escape: hook = "escKeyPressed"; break;
    case Qt::Key_Left: hook = "leftKeyPressed"; break;
    case Qt::Key_Right: hook = "rightKeyPressed"; break;
    case Qt::Key_Space: hook = "spaceKeyPressed"; break;
    case Qt::Key_Home: hook = "homeKeyPressed"; break;
    case Qt::Key_End: hook = "endKeyPressed"; break;
    default: break;
    }
    if (hook && tryToPerformSelector(hook)) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void RKTableView::focusInEvent(QFocusEvent* event)
{
    Events::postNotificationAboutSelf(this, RKTableViewFirstResponderNotification);
    QListView::focusInEvent(event);
    viewport()->update(); // the selection turns blue
}

void RKTableView::focusOutEvent(QFocusEvent* event)
{
    QListView::focusOutEvent(event);
    viewport()->update(); // the selection turns gray
}

void RKTableView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        viewport()->update();
    QListView::changeEvent(event);
}

QWidget* RKTableView::nextValidKeyView()
{
    QWidget* next = nullptr;
    if (m_delegate != this && m_delegate->metaObject()->indexOfMethod("nextValidKeyView(RKTableView*)") >= 0)
        QMetaObject::invokeMethod(m_delegate, "nextValidKeyView", Qt::DirectConnection, Q_RETURN_ARG(QWidget*, next), Q_ARG(RKTableView*, this));
    return next;
}

QWidget* RKTableView::previousValidKeyView()
{
    QWidget* previous = nullptr;
    if (m_delegate != this && m_delegate->metaObject()->indexOfMethod("previousValidKeyView(RKTableView*)") >= 0)
        QMetaObject::invokeMethod(m_delegate, "previousValidKeyView", Qt::DirectConnection, Q_RETURN_ARG(QWidget*, previous), Q_ARG(RKTableView*, this));
    return previous;
}

bool RKTableView::focusNextPrevChild(bool next)
{
    if (QWidget* target = next ? nextValidKeyView() : previousValidKeyView()) {
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QListView::focusNextPrevChild(next);
}

void RKTableView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = nullptr;
    if (m_delegate != this && m_delegate->metaObject()->indexOfMethod("menuForEvent(QContextMenuEvent*)") >= 0)
        QMetaObject::invokeMethod(m_delegate, "menuForEvent", Qt::DirectConnection, Q_RETURN_ARG(QMenu*, menu), Q_ARG(QContextMenuEvent*, event));
    if (menu) {
        menu->exec(event->globalPos());
        event->accept();
        return;
    }
    QListView::contextMenuEvent(event);
}

void RKTableView::mousePressEvent(QMouseEvent* event)
{
    m_pointerPressed = true;
    m_changedWhilePressed = false;
    QListView::mousePressEvent(event);
}

void RKTableView::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    const bool changed = m_changedWhilePressed;
    m_pointerPressed = false;
    m_changedWhilePressed = false;
    if (changed) // the drag has settled
        Events::postNotificationAboutSelf(this, TableViewSelectionDidChangeNotification);
}

void RKTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QListView::selectionChanged(selected, deselected);
    if (m_rowSelectedByCall >= 0 && selectedRow() != m_rowSelectedByCall)
        m_rowSelectedByCall = -1;
    if (!m_silent)
        selectionDidChange();
}

void RKTableView::selectionDidChange()
{
    // Keep Qt's current row on the selection, so keyboard moves and screen readers start there.
    const int row = selectedRow();
    if (row >= 0 && currentIndex().row() != row) {
        const bool silent = m_silent;
        m_silent = true;
        selectionModel()->setCurrentIndex(indexOfRow(row), QItemSelectionModel::NoUpdate);
        m_silent = silent;
    }
    // The accessible focus follows the selection, however it was made, so a screen reader
    // speaks the newly selected row.
    if (row >= 0 && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(row);
        QAccessible::updateAccessibility(&focus);
    }
    if (m_pointerPressed) {
        m_changedWhilePressed = true;
        Events::postNotificationAboutSelf(this, TableViewSelectionIsChangingNotification);
    } else {
        Events::postNotificationAboutSelf(this, TableViewSelectionDidChangeNotification);
    }
}

void RKTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The list view's own accessible focus event is left out: selectionDidChange sends one for
    // every selection, also those made by a call, and a screen reader should hear a row once.
    QAbstractItemView::currentChanged(current, previous);
}

int RKTableView::selectableRowFrom(int row, int step) const
{
    for (; row >= 0 && row < m_model->rowCount(); row += step) {
        if (tableViewShouldSelectRow(row))
            return row;
    }
    return -1;
}

QModelIndex RKTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // The arrow and page keys move to rows the user may select, passing over the others.
    const QModelIndex moved = QListView::moveCursor(action, modifiers);
    if (!moved.isValid() || tableViewShouldSelectRow(moved.row()))
        return moved;
    const int from = selectedRow() >= 0 ? selectedRow() : currentIndex().row();
    const bool down = moved.row() > from || action == MoveDown || action == MovePageDown || action == MoveEnd || action == MoveNext;
    int row = selectableRowFrom(moved.row(), down ? 1 : -1);
    if (row < 0)
        row = selectableRowFrom(moved.row(), down ? -1 : 1);
    // Nothing selectable on the way: stay where the selection is.
    if (row < 0 || (from >= 0 && (down ? row < from : row > from)))
        return from >= 0 ? indexOfRow(from) : QModelIndex();
    return indexOfRow(row);
}

QItemSelectionModel::SelectionFlags RKTableView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (index.isValid() && !tableViewShouldSelectRow(index.row()))
        return QItemSelectionModel::NoUpdate;
    // A click on the selected row of a single-selection list keeps it selected.
    return QListView::selectionCommand(index, event);
}

void RKTableView::keyboardSearch(const QString& search)
{
    // The typed prefix, reset after a second without typing; matched on text folded to
    // lower case without accents, so "bjo" finds "Björk".
    const auto fold = [](const QString& text) {
        QString folded;
        for (const QChar ch : text.normalized(QString::NormalizationForm_D)) {
            if (ch.category() != QChar::Mark_NonSpacing)
                folded.append(ch);
        }
        return folded.toCaseFolded();
    };
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool continuing = now - m_lastTypedAt < 1000;
    m_lastTypedAt = now;
    m_typedPrefix = continuing ? m_typedPrefix + search : search;
    const QString prefix = fold(m_typedPrefix);
    if (prefix.isEmpty())
        return;
    const int rows = m_model->rowCount();
    // A new prefix looks from the row after the selection, a longer one from the selection.
    const int start = selectedRow() < 0 ? 0 : selectedRow() + (continuing ? 0 : 1);
    for (int k = 0; k < rows; ++k) {
        const int row = (start + k) % rows;
        if (tableViewShouldSelectRow(row) && fold(typeAheadTextOfRow(row)).startsWith(prefix)) {
            selectRowByExtendingSelection(row, false);
            scrollRowToVisible(row);
            return;
        }
    }
}
