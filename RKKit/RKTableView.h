#pragma once

// The kit's table: a focusable widget with rows and a single selected row. Every change of the
// selection, by the user or by a call, is announced at once with
// TableViewSelectionDidChangeNotification, the table as its sender.

#include <QString>
#include <QWidget>

inline const QString TableViewSelectionDidChangeNotification = QStringLiteral("TableViewSelectionDidChangeNotification");

class RKTableView : public QWidget {
    Q_OBJECT
public:
    explicit RKTableView(QWidget* parent = nullptr);

    virtual int numberOfRows() const = 0;
    // The selected row, -1 when none.
    int selectedRow() const { return m_selectedRow; }
    int numberOfSelectedRows() const { return m_selectedRow < 0 ? 0 : 1; }
    // Selects the row (one row at a time: extending is not offered); a row outside the table
    // clears the selection.
    void selectRowByExtendingSelection(int row, bool extend);
    void deselectAll();
    void scrollRowToVisible(int row);
    // Re-reads the rows; a selection beyond the last row is dropped.
    virtual void reloadData();

private:
    void selectionDidChange();

    int m_selectedRow = -1;
};
