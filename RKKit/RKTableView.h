// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The kit's table: a one-column list over Qt's item view, whose rows are drawn by cells the
// subclass hands out. Qt supplies scrolling (wheel, touchpad, kinetic), hit testing, the
// selection model and accessibility; this class adds:
// - every change of the selection, by the user or by a call, announced at once through the
//   notification centre (TableViewSelectionIsChangingNotification while the pointer is still
//   pressed, TableViewSelectionDidChangeNotification otherwise and on release), the table as
//   the sender;
// - tableViewShouldSelectRow deciding every selection the user makes (clicks, arrows, typing),
//   while a selection made by a call is made whatever it answers;
// - named key hooks (deleteKeyPressed, enterKeyPressed, escKeyPressed, leftKeyPressed,
//   rightKeyPressed, spaceKeyPressed, homeKeyPressed, endKeyPressed), looked up by name on the
//   table, then on its delegate; a key without a hook gets Qt's own handling;
// - "RKTableViewFirstResponderNotification" whenever the table takes the keyboard focus;
// - type-ahead: letters typed select the next selectable row whose text starts with them,
//   ignoring case and accents, the typed prefix forgotten after a second.
// Main thread only.

#include <QListView>
#include <QString>

#include <cstdint>

class QAbstractListModel;
class RKTableModel;
class QMenu;
class RKTableCell;

inline const QString TableViewSelectionDidChangeNotification = QStringLiteral("TableViewSelectionDidChangeNotification");
inline const QString TableViewSelectionIsChangingNotification = QStringLiteral("TableViewSelectionIsChangingNotification");
inline const QString RKTableViewFirstResponderNotification = QStringLiteral("RKTableViewFirstResponderNotification");

class RKTableView : public QListView {
    Q_OBJECT
public:
    explicit RKTableView(QWidget* parent = nullptr);
    ~RKTableView() override;

    virtual int numberOfRows() const = 0;
    // The height of every row: the uniform row height plus 2 points of spacing.
    virtual float heightOfRow(int row) const;
    // The object that draws the row; none paints only the background.
    virtual RKTableCell* cellAtRow(int row) const;
    // Asked for every selection the user makes; yes by default.
    virtual bool tableViewShouldSelectRow(int row) const;
    // What a screen reader says for the row, and the text type-ahead matches.
    virtual QString accessibleTextOfRow(int row) const;
    virtual QString typeAheadTextOfRow(int row) const;

    // The row's rectangle in the table's own coordinates (y = 0 at the top of row 0, whatever the
    // scroll position); empty outside the rows.
    virtual QRectF rectOfRow(int row) const;
    // The row containing the point (table coordinates), -1 when none does.
    virtual int rowAtPoint(const QPointF& point) const;
    // The height all rows take together.
    virtual float contentHeight() const;

    // The selected row, -1 when none.
    int selectedRow() const;
    int numberOfSelectedRows() const { return selectedRow() < 0 ? 0 : 1; }
    bool isRowSelected(int row) const { return row >= 0 && row == selectedRow(); }
    // Selects the row (one row at a time: extending is not offered), whether or not the user
    // could; a row outside the table clears the selection.
    void selectRowByExtendingSelection(int row, bool extend);
    void deselectAll();
    void scrollRowToVisible(int row);
    // The rows changed: re-read them. A selected row that is still a row stays selected; one
    // that is not is dropped, and the drop is announced.
    virtual void noteNumberOfRowsChanged();
    void reloadData() { noteNumberOfRowsChanged(); }
    // Repaints one row.
    void setNeedsDisplayInRow(int row);

    // Performs the named hook (a slot without arguments) on the table, else on its delegate;
    // answers whether it was performed.
    bool tryToPerformSelector(const char* name);
    // The object asked for hooks, the focus order and context menus; the table itself by default.
    QObject* delegate() const { return m_delegate; }
    void setDelegate(QObject* delegate) { m_delegate = delegate ? delegate : this; }

    // Whether the selection is drawn as that of the focused table: the table has the keyboard
    // focus and its window is the active one.
    bool drawsFocusedSelection() const;

    // A strip shown above the table by its scroll view; none by default.
    virtual QWidget* headerView() const { return nullptr; }

    // Uniform row height used by the base geometry.
    float rowHeightSetting = 16;

public Q_SLOTS:
    void homeKeyPressed();
    void endKeyPressed();
    virtual void escKeyPressed();

protected:
    // Paints one row into its frame (viewport coordinates, x = 0, the table's width): the
    // background, then the cell with its colour index. Subclasses paint their own backgrounds.
    virtual void drawRowInRect(QPainter& painter, int row, const QRectF& frame);

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event = nullptr) const override;
    void keyboardSearch(const QString& search) override;

    // The focus order: the delegate's nextValidKeyView/previousValidKeyView when it has them.
    virtual QWidget* nextValidKeyView();
    virtual QWidget* previousValidKeyView();

private:
    friend class RKTableModel;
    friend class RKTableRowDelegate;

    QModelIndex indexOfRow(int row) const;
    void selectionDidChange();
    // A row the user may select, from the row in the direction given (+1 or -1); -1 when none.
    int selectableRowFrom(int row, int step) const;

    RKTableModel* m_model;
    QObject* m_delegate;
    int m_rowSelectedByCall = -1; // a row selectable for the moment only because a call chose it
    bool m_pointerPressed = false;
    bool m_changedWhilePressed = false;
    bool m_silent = false;         // re-selecting after a reload announces nothing
    QString m_typedPrefix;
    qint64 m_lastTypedAt = 0;
};
