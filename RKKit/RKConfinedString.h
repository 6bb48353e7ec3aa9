// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A label that fits itself into a width: a styled text laid out once, on one line, measured
// glyph by glyph, and drawn within a rectangle's width, shortened at the end with "…" when it
// does not fit. The rectangle's height plays no part: the top of the line is at its top.
// Main thread only.

#include "RKKit/RKText.h"

#include <QGlyphRun>
#include <QList>
#include <QPointF>

#include <memory>
#include <vector>

class QPainter;
class QRectF;
class QTextLayout;

class RKConfinedString {
public:
    RKConfinedString(const QString& string, const RKTextAttributes& attributes);
    explicit RKConfinedString(RKAttributedString string);
    virtual ~RKConfinedString();
    RKConfinedString(const RKConfinedString&) = delete;
    RKConfinedString& operator=(const RKConfinedString&) = delete;

    const QString& string() const { return m_string.string; }
    const RKAttributedString& attributedString() const { return m_string; }

    // Measurements of the line "text…", made at the first draw (or first question). A "glyph"
    // here is the smallest piece the text can be cut at without splitting a character or its
    // combining marks; for plain text that is one glyph per letter. The last one is the ellipsis.
    int nglyphs();
    // Advance of each glyph on the laid-out line, kerning included; the last is the ellipsis.
    const std::vector<float>& metrics();
    // Width of the text alone, without the ellipsis.
    float totalWidth();

    void drawInRect(QPainter& painter, const QRectF& rect) { drawInRectCentered(painter, rect, false); }
    // A text strictly narrower than the rectangle is drawn whole, centred when asked. Otherwise
    // glyphs are dropped from its end until the rest and an ellipsis fit, and both are drawn
    // from the rectangle's left edge; when the width is no more than the ellipsis, nothing is.
    // A right-to-left text is cut at its logical end too, with the ellipsis on its left.
    void drawInRectCentered(QPainter& painter, const QRectF& rect, bool centered);

    // What the drawing rule keeps of a text in a width, in reading order: the glyphs 0 …
    // keptGlyphs − 1, starting textOffset from the left edge, and the ellipsis (when drawn)
    // starting ellipsisOffset from the left edge.
    struct Truncation {
        int keptGlyphs = 0;
        float textOffset = 0;
        bool drawsEllipsis = false;
        float ellipsisOffset = 0;
        bool operator==(const Truncation&) const = default;
    };
    static Truncation truncationForWidth(const std::vector<float>& metrics, float totalWidth, float width, bool centered);

    // How many text layouts this process has built: one per label, at its first measurement.
    static int layoutCount();

private:
    struct Cluster {
        int from, to;      // characters of the laid-out line
        float left, width; // on the laid-out line
    };
    struct Piece {
        QList<QGlyphRun> glyphs;
        QPointF offset; // from the rectangle's left edge and top
    };

    void cacheMetrics();
    void appendPieces(std::vector<Piece>& pieces, int fromCluster, int toCluster, float& pen) const;
    const std::vector<Piece>& piecesForWidth(float width, bool centered);

    RKAttributedString m_string;
    bool m_hasCachedMetrics = false;
    int m_nglyphs = 0;
    std::vector<float> m_metrics;
    float m_totalWidth = 0;
    std::unique_ptr<QTextLayout> m_layout;
    std::vector<Cluster> m_clusters;
    bool m_rightToLeft = false;

    // The glyphs placed for the last width drawn at: the rows of a column share one width, so
    // repaints reuse them and truncation stays arithmetic done once per width.
    float m_piecesWidth = -1;
    bool m_piecesCentered = false;
    std::vector<Piece> m_pieces;
};
