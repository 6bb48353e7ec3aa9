// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real main window with its browser, shown and active on the offscreen screen, and the
// pointer and key actions a user performs on its columns.

#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/MainNode.h"
#include "Application/MainWindow.h"
#include "Application/Node.h"

#include "support/TestUtil.h"

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>

struct ShownWindow {
    MainWindow window;

    explicit ShownWindow(QSize size = QSize(600, 400))
    {
        window.resize(size);
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
    }
    BrowserView& browser() { return *window.browserView(); }
    MainNode& root() { return *browser().rootNode(); }
    MetaTableView& column(int i) { return *browser().tableAtIndex(i); }

    // The row's centre in its table's viewport, scrolled into view first.
    QPoint centreOfRow(int columnIndex, int row)
    {
        MetaTableView& table = column(columnIndex);
        table.scrollRowToVisible(row);
        const QRectF rect = table.rectOfRow(row);
        return QPoint(int(rect.center().x()), int(rect.center().y()) - table.verticalScrollBar()->value());
    }
    void moveTo(int columnIndex, int row)
    {
        QTest::mouseMove(column(columnIndex).viewport(), centreOfRow(columnIndex, row));
    }
    void click(int columnIndex, int row)
    {
        moveTo(columnIndex, row);
        QTest::mouseClick(column(columnIndex).viewport(), Qt::LeftButton, {}, centreOfRow(columnIndex, row));
    }
    void doubleClick(int columnIndex, int row)
    {
        click(columnIndex, row);
        QTest::mouseDClick(column(columnIndex).viewport(), Qt::LeftButton, {}, centreOfRow(columnIndex, row));
    }
    void key(int columnIndex, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        column(columnIndex).setFocus();
        QTest::keyClick(&column(columnIndex), key, modifiers);
    }
    // The row whose primary text is the one given, -1 when none.
    int rowOf(int columnIndex, const QString& primary)
    {
        const auto& rows = column(columnIndex).objects();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r]->primaryString() == primary)
                return int(r);
        }
        return -1;
    }
    QString selectedPrimary(int columnIndex)
    {
        const auto node = column(columnIndex).selectedNode();
        return node ? node->primaryString() : QString();
    }
    int focusedColumn()
    {
        for (int i = 0; i < BrowserView::numberOfColumns; ++i) {
            if (column(i).hasFocus())
                return i;
        }
        return -1;
    }
    bool isPlaceholder(int columnIndex)
    {
        return column(columnIndex).numberOfRows() == 1 && !column(columnIndex).nodeAtRow(0)->primary();
    }
};

// Collects the rectangles a widget repaints.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget)
    {
        widget->installEventFilter(this);
    }
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};
