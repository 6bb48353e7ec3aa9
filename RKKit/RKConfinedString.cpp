// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKConfinedString.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

int layouts = 0;

constexpr QChar ellipsis(0x2026);

// Labels are single lines: line and paragraph breaks and tabs are laid out as spaces.
QString oneLine(QString text)
{
    for (QChar& ch : text) {
        if (ch == u'\n' || ch == u'\r' || ch == u'\t' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator)
            ch = u' ';
    }
    return text;
}

bool touches(float leftEdge, float rightEdge)
{
    return std::abs(leftEdge - rightEdge) < 0.01f;
}

} // namespace

RKConfinedString::RKConfinedString(const QString& string, const RKTextAttributes& attributes)
    : RKConfinedString(RKAttributedString{string, attributes})
{
}

RKConfinedString::RKConfinedString(RKAttributedString string)
    : m_string(std::move(string))
{
}

RKConfinedString::~RKConfinedString() = default;

int RKConfinedString::layoutCount()
{
    return layouts;
}

int RKConfinedString::nglyphs()
{
    if (!m_hasCachedMetrics)
        cacheMetrics();
    return m_nglyphs;
}

const std::vector<float>& RKConfinedString::metrics()
{
    if (!m_hasCachedMetrics)
        cacheMetrics();
    return m_metrics;
}

float RKConfinedString::totalWidth()
{
    if (!m_hasCachedMetrics)
        cacheMetrics();
    return m_totalWidth;
}

void RKConfinedString::cacheMetrics()
{
    m_hasCachedMetrics = true;
    ++layouts;

    // The text and one ellipsis, laid out together on one line without padding, so the ellipsis
    // is measured and drawn in the text's own font and colour.
    QString line = oneLine(m_string.string);
    m_rightToLeft = line.isRightToLeft();
    const int textLength = int(line.size());
    line.append(ellipsis);

    m_layout = std::make_unique<QTextLayout>(line, m_string.attributes.font);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(m_rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    m_layout->beginLayout();
    QTextLine textLine = m_layout->createLine();
    textLine.setLineWidth(10'000'000);
    textLine.setPosition(QPointF(0, 0));
    m_layout->endLayout();

    // Cut points are the layout's cursor positions (whole characters with their marks); each
    // piece's place on the line comes from the glyph positions at its two edges.
    m_clusters.clear();
    for (int from = 0; from < line.size();) {
        int to = m_layout->nextCursorPosition(from, QTextLayout::SkipCharacters);
        if (to <= from)
            to = from + 1;
        if (from < textLength && to > textLength)
            to = textLength; // the ellipsis is always a piece of its own
        const qreal leading = textLine.cursorToX(from, QTextLine::Leading);
        const qreal trailing = textLine.cursorToX(to - 1, QTextLine::Trailing);
        m_clusters.push_back({from, to, float(std::min(leading, trailing)), float(std::abs(trailing - leading))});
        from = to;
    }
    // The line starts at 0 whatever its direction.
    float lineLeft = 0;
    if (!m_clusters.empty())
        lineLeft = std::min_element(m_clusters.begin(), m_clusters.end(), [](const Cluster& a, const Cluster& b) { return a.left < b.left; })->left;
    m_metrics.clear();
    m_totalWidth = 0;
    for (Cluster& cluster : m_clusters) {
        cluster.left -= lineLeft;
        m_metrics.push_back(cluster.width);
    }
    for (std::size_t i = 0; i + 1 < m_metrics.size(); ++i)
        m_totalWidth += m_metrics[i];
    m_nglyphs = int(m_clusters.size());
    m_piecesWidth = -1;
}

RKConfinedString::Truncation RKConfinedString::truncationForWidth(const std::vector<float>& metrics, float totalWidth, float width, bool centered)
{
    const int n = int(metrics.size());
    if (n == 0)
        return {};
    const float e = metrics.back();
    if (totalWidth < width)
        return {n - 1, centered ? (width - totalWidth) / 2 : 0.0f, false, 0.0f};
    float g = totalWidth;
    int i = n - 2;
    while (g > width - e && i >= 0) {
        g -= metrics[std::size_t(i)];
        --i;
    }
    const bool drawsEllipsis = width > e;
    return {i + 1, 0.0f, drawsEllipsis, drawsEllipsis ? g : 0.0f};
}

void RKConfinedString::appendPieces(std::vector<Piece>& pieces, int fromCluster, int toCluster, float& pen) const
{
    // Runs of logically consecutive pieces that also sit side by side on the line; in text of
    // one direction that is one run. Mixed-direction text that was cut may leave gaps on the
    // line, so the runs are packed together in their order on the line.
    struct Run {
        int from, to;
        float left, width;
    };
    std::vector<Run> runs;
    for (int i = fromCluster; i < toCluster; ++i) {
        const Cluster& c = m_clusters[std::size_t(i)];
        if (!runs.empty()) {
            Run& run = runs.back();
            const Cluster& previous = m_clusters[std::size_t(i - 1)];
            if (touches(c.left, previous.left + previous.width) || touches(c.left + c.width, previous.left)) {
                run.to = c.to;
                run.left = std::min(run.left, c.left);
                run.width += c.width;
                continue;
            }
        }
        runs.push_back({c.from, c.to, c.left, c.width});
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.left < b.left; });
    for (const Run& run : runs) {
        pieces.push_back({m_layout->glyphRuns(run.from, run.to - run.from), QPointF(pen - run.left, 0)});
        pen += run.width;
    }
}

const std::vector<RKConfinedString::Piece>& RKConfinedString::piecesForWidth(float width, bool centered)
{
    if (width == m_piecesWidth && centered == m_piecesCentered)
        return m_pieces;
    m_piecesWidth = width;
    m_piecesCentered = centered;
    m_pieces.clear();

    const Truncation t = truncationForWidth(m_metrics, m_totalWidth, width, centered);
    const int ellipsisCluster = m_nglyphs - 1;
    if (t.drawsEllipsis && m_rightToLeft) {
        // Read from the right: the kept beginning on the right, the ellipsis at its left.
        float pen = 0;
        appendPieces(m_pieces, ellipsisCluster, m_nglyphs, pen);
        appendPieces(m_pieces, 0, t.keptGlyphs, pen);
    } else {
        float pen = t.textOffset;
        appendPieces(m_pieces, 0, t.keptGlyphs, pen);
        if (t.drawsEllipsis) {
            pen = t.ellipsisOffset;
            appendPieces(m_pieces, ellipsisCluster, m_nglyphs, pen);
        }
    }
    return m_pieces;
}

void RKConfinedString::drawInRectCentered(QPainter& painter, const QRectF& rect, bool centered)
{
    if (!m_hasCachedMetrics)
        cacheMetrics();
    const std::vector<Piece>& pieces = piecesForWidth(float(rect.width()), centered);
    if (pieces.empty())
        return;
    const QPen pen = painter.pen();
    painter.setPen(m_string.attributes.foregroundColor);
    for (const Piece& piece : pieces) {
        for (const QGlyphRun& run : piece.glyphs)
            painter.drawGlyphRun(rect.topLeft() + piece.offset, run);
    }
    painter.setPen(pen);
}
