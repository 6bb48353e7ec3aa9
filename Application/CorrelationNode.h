// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Application/Node.h"

#include <cstdint>
#include <vector>

class Correlation;

// A node whose children are rated similar-artist rows; keeps the lowest and highest rating of
// the rows added by the last setCorrelations.
class CorrelationContainerNode : public Node {
public:
    // A caption "Similar to %@" with this node's primary text.
    void addHeaderNodes() override;
    // Appends one rated row per record, in list order, and marks the node loaded.
    void setCorrelations(const std::vector<Correlation>& correlations);
    float minRating() const { return m_minRating; }
    float maxRating() const { return m_maxRating; }

private:
    float m_minRating = 0.0f;
    float m_maxRating = 0.0f;
};

// One similar artist with one to four stars; its children are search links for the artist.
class CorrelationNode : public Node {
public:
    float rating = 0.0f;

    // The stars this row shows, worked out from the parent's rating range the first time it
    // is asked for and kept from then on.
    std::uint32_t nStars();
    // Four equal bands of the range [minRating, maxRating] give 1 to 4 stars; an empty range 4.
    static std::uint32_t starCount(float rating, float minRating, float maxRating);

    // The name and its stars: "Massive Attack, 3 of 4 stars".
    QString accessibleText() const override;

    // Builds the search links the first time; hands the artist to the banner every time.
    void nodeWasSelected() override;
    // The artist becomes (or already is) a saved lookup, and is selected.
    void doubleClickedNode() override;

    // One to four stars, touching, the first 3 points from the right edge.
    float drawRightDecorationInFrame(QPainter& painter, const QRectF& frame) override;

    static RKImage starWhiteImage();
    static RKImage starGrayImage();

private:
    // The kept count, else the one the parent's range gives now.
    std::uint32_t starsFromParent() const;

    std::uint32_t m_nStars = 0;
};
