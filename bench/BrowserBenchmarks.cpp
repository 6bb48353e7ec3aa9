// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's interactive paths on the real widgets (offscreen): what a pointer move over the
// links repaints, the row geometry and painting of a 10,000-row column, and the time from a
// click on a lookup whose answer is in to the painted similar-artist column.
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/Correlation.h"
#include "Application/CorrelationNode.h"
#include "Application/MainNode.h"
#include "Application/MainWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

// Counts what a widget repaints.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;
    int rectangles = 0;
    qint64 area = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                ++rectangles;
                area += qint64(r.width()) * r.height();
            }
        }
        return false;
    }
};

struct Window {
    MainWindow window;
    Window()
    {
        window.resize(760, 520);
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
    }
    MetaTableView& column(int i) { return *window.browserView()->tableAtIndex(i); }
    QPoint centreOfRow(int c, int row)
    {
        const QRectF rect = column(c).rectOfRow(row);
        return QPoint(int(rect.center().x()), int(rect.center().y()) - column(c).verticalScrollBar()->value());
    }
};

std::shared_ptr<CorrelationContainerNode> answeredLookup(const QString& name, int rows)
{
    auto lookup = Node::nodeWithPrimary<CorrelationContainerNode>(name);
    std::vector<Correlation> records;
    for (int i = 0; i < rows; ++i)
        records.push_back({QStringLiteral("%1 Similar %2").arg(name).arg(i), float(rows - i), 0});
    lookup->setCorrelations(records);
    return lookup;
}

// A pointer move from one link row to the next: the rows repainted, against the column.
void BM_hoverMoveRepaintsTwoRows(benchmark::State& state)
{
    Window w;
    auto artist = Node::nodeWithPrimary<CorrelationNode>("Portishead");
    artist->nodeWasSelected();
    w.window.browserView()->tableAtIndex(2)->setRootNode(artist);
    MetaTableView& links = w.column(2);
    PaintCounter counter(links.viewport());
    int row = 1;
    QTest::mouseMove(links.viewport(), w.centreOfRow(2, row));
    QApplication::processEvents();
    for (auto _ : state) {
        counter.paints = counter.rectangles = 0;
        counter.area = 0;
        row = row == 1 ? 2 : 1;
        QTest::mouseMove(links.viewport(), w.centreOfRow(2, row));
        QApplication::processEvents();
    }
    const qint64 columnArea = qint64(links.viewport()->width()) * links.viewport()->height();
    state.counters["rects_per_move"] = counter.rectangles;
    state.counters["area_of_column"] = double(counter.area) / double(columnArea);
    state.counters["row_heights"] = double(counter.area) / links.viewport()->width() / 23.0;
}
BENCHMARK(BM_hoverMoveRepaintsTwoRows)->Unit(benchmark::kMicrosecond);

struct LongColumn {
    Window w;
    std::shared_ptr<CorrelationContainerNode> root = answeredLookup("Long", 10'000);
    MetaTableView& table = w.column(1);
    LongColumn() { table.setRootNode(root); }
};

void BM_tenThousandRows_noteNumberOfRowsChanged(benchmark::State& state)
{
    LongColumn c;
    for (auto _ : state) {
        c.table.noteNumberOfRowsChanged();
        c.table.doItemsLayout(); // Qt lays the rows out lazily; count that in
    }
    state.counters["rows"] = c.table.numberOfRows();
}
BENCHMARK(BM_tenThousandRows_noteNumberOfRowsChanged)->Unit(benchmark::kMillisecond);

void BM_tenThousandRows_geometry(benchmark::State& state)
{
    LongColumn c;
    const QPointF bottom(10, c.table.contentHeight() - 1);
    int found = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.table.rectOfRow(9'999));
        found = c.table.rowAtPoint(bottom);
        benchmark::DoNotOptimize(found);
    }
    state.counters["row_at_bottom"] = found;
}
BENCHMARK(BM_tenThousandRows_geometry)->Unit(benchmark::kMicrosecond);

void BM_tenThousandRows_repaintAndScroll(benchmark::State& state)
{
    LongColumn c;
    QScrollBar* bar = c.table.verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + 23 * 3) % std::max(1, bar->maximum());
        bar->setValue(value);              // one scroll step of three rows
        c.table.viewport()->repaint();     // and a full repaint of what is in view
    }
}
BENCHMARK(BM_tenThousandRows_repaintAndScroll)->Unit(benchmark::kMillisecond);

// Click on a lookup whose answer is in, until column 1 has painted its new rows.
void BM_clickLookupToPaintedColumn(benchmark::State& state)
{
    Window w;
    auto root = w.window.browserView()->rootNode();
    root->addNode(answeredLookup("Massive Attack", 40));
    root->addNode(answeredLookup("Radiohead", 40));
    w.window.browserView()->updateTables();
    const int first = int(root->nodes().size()) - 2;
    MetaTableView& lookups = w.column(0);
    PaintCounter painted(w.column(1).viewport());
    int row = first;
    for (auto _ : state) {
        row = row == first ? first + 1 : first;
        const int before = painted.paints;
        const QPoint at = w.centreOfRow(0, row);
        QTest::mouseMove(lookups.viewport(), at);
        QTest::mouseClick(lookups.viewport(), Qt::LeftButton, {}, at);
        while (painted.paints == before)
            QApplication::processEvents();
    }
    state.counters["rows_shown"] = w.column(1).numberOfRows();
}
BENCHMARK(BM_clickLookupToPaintedColumn)->Unit(benchmark::kMillisecond);

} // namespace
