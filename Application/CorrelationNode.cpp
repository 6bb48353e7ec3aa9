// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/CorrelationNode.h"

#include "Application/AdView.h"
#include "Application/Correlation.h"
#include "Application/MainNode.h"
#include "Application/URLQueryNode.h"
#include "RKKit/RKImages.h"

#include <QCoreApplication>
#include <QPainter>

#include <cmath>
#include <limits>

void CorrelationContainerNode::addHeaderNodes()
{
    addNode(Node::nodeWithPrimary<TitleNode>(QCoreApplication::translate("CorrelationNode", "Similar to %1").arg(primaryString())));
}

void CorrelationContainerNode::setCorrelations(const std::vector<Correlation>& correlations)
{
    m_isLoaded = true;
    m_minRating = std::numeric_limits<float>::infinity();
    m_maxRating = 0.0f;
    for (const Correlation& record : correlations) {
        auto row = Node::nodeWithPrimary<CorrelationNode>(record.name);
        row->rating = record.rating;
        addNode(row);
        if (record.rating < m_minRating)
            m_minRating = record.rating;
        if (record.rating > m_maxRating)
            m_maxRating = record.rating;
    }
}

std::uint32_t CorrelationNode::starCount(float rating, float minRating, float maxRating)
{
    if (maxRating == minRating)
        return 4;
    const float q = (rating - minRating) / ((maxRating - minRating) * 0.25f) + 1.0f;
    // Ratings come from the network: an infinite or undefined quotient must not reach the
    // integer conversion, and a rating outside the range still shows between 1 and 4 stars.
    if (std::isnan(q))
        return 1;
    if (q >= 4.0f)
        return 4;
    if (q < 1.0f)
        return 1;
    return std::uint32_t(q);
}

std::uint32_t CorrelationNode::starsFromParent() const
{
    if (m_nStars != 0)
        return m_nStars;
    const auto container = std::dynamic_pointer_cast<CorrelationContainerNode>(parentNode());
    return container ? starCount(rating, container->minRating(), container->maxRating()) : 4;
}

std::uint32_t CorrelationNode::nStars()
{
    m_nStars = starsFromParent();
    return m_nStars;
}

void CorrelationNode::nodeWasSelected()
{
    if (nodes().empty()) {
        addNode(Node::nodeWithPrimary<TitleNode>(primaryString()));
        addNode(Node::node<GoogleNode>());
        addNode(Node::node<GoogleImagesNode>());
        addNode(Node::node<GoogleNewsNode>());
        addNode(Node::node<SeparatorNode>());
        addNode(Node::node<AmazonNode>());
        addNode(Node::node<Everything2Node>());
        addNode(Node::node<RollingStoneNode>());
        addNode(Node::node<SeparatorNode>());
        addNode(Node::node<iTunesMusicStoreNode>());
        addNode(Node::node<AcquisitionNode>());
    }
    if (AdView* banner = AdView::instance())
        banner->setKeywords(primaryString());
}

void CorrelationNode::doubleClickedNode()
{
    addLookupInBrowser(primaryString(), true);
}

QString CorrelationNode::accessibleText() const
{
    // What the row shows, or will show at its first draw; reading it keeps nothing.
    return QCoreApplication::translate("CorrelationNode", "%1, %2 of 4 stars").arg(Node::accessibleText()).arg(starsFromParent());
}

float CorrelationNode::drawRightDecorationInFrame(QPainter& painter, const QRectF& frame)
{
    const std::uint32_t stars = nStars();
    const RKImage star = isDrawnSelected() ? starWhiteImage() : starGrayImage();
    const QSizeF size = star.size();
    for (std::uint32_t k = 1; k <= stars; ++k) {
        const QPointF corner(frame.x() + frame.width() - k * size.width() - 3, frame.y() + (frame.height() - size.height()) / 2);
        star.drawAtPoint(painter, corner, QPainter::CompositionMode_SourceAtop);
    }
    return float(stars * size.width() + 3);
}

RKImage CorrelationNode::starWhiteImage()
{
    return RKImages::imageNamed(QStringLiteral("StarWhite"));
}

RKImage CorrelationNode::starGrayImage()
{
    return RKImages::imageNamed(QStringLiteral("StarGray"));
}
