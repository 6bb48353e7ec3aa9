// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the browser's rows: a full visible column of mixed rows at 1x and 2x, and the one row
// a pointer movement over a link repaints. Counters report how many text layouts, gradients and
// picture renderings the repaints made: after the first frame they should make none.
#include "Application/ArtistAlbumNode.h"
#include "Application/Correlation.h"
#include "Application/CorrelationNode.h"
#include "Application/URLQueryNode.h"
#include "RKKit/RKConfinedString.h"
#include "RKKit/RKGradient.h"
#include "RKKit/RKImages.h"
#include "RKKit/RKTableCell.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

namespace {

constexpr int columnWidth = 240;

struct Column {
    std::vector<std::shared_ptr<Node>> keep;
    std::vector<std::pair<std::shared_ptr<Node>, std::int32_t>> rows; // node, colour index
    int height = 0;
};

// 40 rows as a browsing session shows them: a caption, similar artists with stars (one selected,
// several too long for the column), album rows, separators and search links, one of them under
// the pointer.
const Column& mixedColumn()
{
    static const Column column = [] {
        Column c;
        auto lookup = Node::nodeWithPrimary<CorrelationContainerNode>("Massive Attack");
        std::vector<Correlation> records;
        for (int i = 0; i < 24; ++i)
            records.push_back({QStringLiteral("Similar Artist %1%2").arg(i).arg(i % 4 ? "" : " with a name far too long to fit"), float(100 - i * 3), 0});
        lookup->setCorrelations(records);
        auto artist = Node::nodeWithPrimary<CorrelationNode>("Portishead");
        artist->nodeWasSelected();
        c.keep = {lookup, artist};
        for (std::size_t i = 0; i < 25; ++i)
            c.rows.push_back({lookup->nodes()[i], i == 3 ? 2 : 0});
        for (int i = 0; i < 4; ++i) {
            auto album = Node::node<ArtistAlbumNode>();
            album->setArtist("Radiohead");
            album->setAlbum("OK Computer");
            album->setDescription("Paranoid androids");
            c.keep.push_back(album);
            c.rows.push_back({album, 0});
        }
        for (const auto& link : artist->nodes())
            c.rows.push_back({link, 0});
        std::dynamic_pointer_cast<URLQueryNode>(artist->nodes()[1])->mouseEnteredCurrentFrame(nullptr, QRectF(0, 0, columnWidth, 23));
        for (const auto& [node, index] : c.rows)
            c.height += int(node->rowHeight());
        return c;
    }();
    return column;
}

void paintRow(QPainter& painter, Node& node, std::int32_t index, qreal y, bool lightBlue)
{
    const QRectF frame(0, y, columnWidth, node.rowHeight());
    RKTableCell::drawBackgroundInRect(painter, frame, lightBlue, index);
    node.rkColorIndex = index;
    node.drawWithFrameInView(painter, frame, nullptr);
}

void reportBuilds(benchmark::State& state, int layouts, int gradients, int renderings)
{
    state.counters["text_layouts"] = RKConfinedString::layoutCount() - layouts;
    state.counters["gradients"] = RKGradient::buildCount() - gradients;
    state.counters["renderings"] = RKImage::renderCount() - renderings;
}

void BM_paintColumn(benchmark::State& state)
{
    const qreal ratio = qreal(state.range(0));
    const Column& column = mixedColumn();
    QImage image(QSize(columnWidth, column.height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    {
        // The first frame lays out the labels and renders the pictures; it is not timed.
        QPainter painter(&image);
        qreal y = 0;
        for (std::size_t r = 0; r < column.rows.size(); ++r) {
            paintRow(painter, *column.rows[r].first, column.rows[r].second, y, r % 2 == 0);
            y += column.rows[r].first->rowHeight();
        }
    }
    const int layouts = RKConfinedString::layoutCount(), gradients = RKGradient::buildCount(), renderings = RKImage::renderCount();
    for (auto _ : state) {
        QPainter painter(&image);
        qreal y = 0;
        for (std::size_t r = 0; r < column.rows.size(); ++r) {
            paintRow(painter, *column.rows[r].first, column.rows[r].second, y, r % 2 == 0);
            y += column.rows[r].first->rowHeight();
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["rows"] = double(column.rows.size());
    reportBuilds(state, layouts, gradients, renderings);
}
BENCHMARK(BM_paintColumn)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One link row under the pointer, as a hover change repaints it.
void BM_paintHoveredLinkRow(benchmark::State& state)
{
    const qreal ratio = qreal(state.range(0));
    const Column& column = mixedColumn();
    Node& link = *column.rows[26].first;
    QImage image(QSize(columnWidth, 23) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    {
        QPainter painter(&image);
        paintRow(painter, link, 0, 0, false);
    }
    const int layouts = RKConfinedString::layoutCount(), gradients = RKGradient::buildCount(), renderings = RKImage::renderCount();
    for (auto _ : state) {
        QPainter painter(&image);
        paintRow(painter, link, 0, 0, false);
        benchmark::DoNotOptimize(image.constBits());
    }
    reportBuilds(state, layouts, gradients, renderings);
}
BENCHMARK(BM_paintHoveredLinkRow)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// 1,000 repaints of the same rows from a cold start: one layout per label, and gradients and
// pictures made once per process and ratio.
void BM_thousandRepaintsBuildOnce(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto lookup = Node::nodeWithPrimary<CorrelationContainerNode>("Air");
        lookup->setCorrelations({{"Daft Punk", 9, 0}, {"Phoenix", 7, 0}, {"Cassius and a name too long to fit in the column", 3, 0}});
        QImage image(QSize(columnWidth, 200) * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        const int layouts = RKConfinedString::layoutCount(), gradients = RKGradient::buildCount(), renderings = RKImage::renderCount();
        state.ResumeTiming();
        for (int repaint = 0; repaint < 1000; ++repaint) {
            QPainter painter(&image);
            qreal y = 0;
            for (std::size_t r = 0; r < lookup->nodes().size(); ++r) {
                paintRow(painter, *lookup->nodes()[r], r == 1 ? 2 : 0, y, r % 2 == 0);
                y += lookup->nodes()[r]->rowHeight();
            }
        }
        state.PauseTiming();
        // Labels drawn: the caption and three rows, the selected row's white copy in place of
        // its own black label (which is never drawn, so never laid out).
        state.counters["labels"] = double(lookup->nodes().size());
        reportBuilds(state, layouts, gradients, renderings);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_thousandRepaintsBuildOnce)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
