// SPDX-License-Identifier: GPL-3.0-or-later
// Every kind of row painted into real images at 1x and 2x (and 3x where sharpness matters),
// checked by its pixels: labels, arrows, stars, link capsules, covers, titles and separators.
#include "Application/ArtistAlbumNode.h"
#include "Application/CorrelationNode.h"
#include "Application/URLQueryNode.h"
#include "ApplicationTestSupport.h"
#include "RKKit/RKGradient.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

constexpr int rowWidth = 200;

// The darkest and brightest grays, and the ink columns, in a logical rectangle of an image.
struct Area {
    int darkest = 255, brightest = 0;
    int firstInk = -1, lastInk = -1; // logical x of pixels that differ from the background
};
Area area(const QImage& image, const QRectF& logical, QRgb background = qRgb(255, 255, 255))
{
    const qreal r = image.devicePixelRatio();
    const QRect pixels = QRectF(logical.topLeft() * r, logical.size() * r).toAlignedRect().intersected(image.rect());
    Area a;
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            const QRgb p = image.pixel(x, y);
            a.darkest = std::min(a.darkest, qGray(p));
            a.brightest = std::max(a.brightest, qGray(p));
            if (p != background) {
                if (a.firstInk < 0)
                    a.firstInk = int(x / r);
                a.lastInk = int(x / r);
            }
        }
    }
    return a;
}

QColor pixelAt(const QImage& image, qreal x, qreal y)
{
    const qreal r = image.devicePixelRatio();
    return image.pixelColor(int(x * r), int(y * r));
}

// A lookup-like container holding rated rows, as an answer leaves it.
std::shared_ptr<CorrelationContainerNode> containerWith(std::initializer_list<std::pair<const char*, float>> list)
{
    auto container = Node::nodeWithPrimary<CorrelationContainerNode>("Massive Attack");
    container->setCorrelations(records(list));
    return container;
}

std::shared_ptr<CorrelationNode> row(const std::shared_ptr<Node>& container, std::size_t index)
{
    return std::dynamic_pointer_cast<CorrelationNode>(container->nodes().at(index));
}

TEST(NodeRendering, RowHeightsOfEveryKind)
{
    auto withSecondary = [](const QString& secondary) { return Node::nodeWithPrimarySecondary<Node>("A", secondary); };
    auto album = Node::node<ArtistAlbumNode>();
    album->setArtist("Radiohead");
    const struct {
        const char* kind;
        std::shared_ptr<Node> node;
        float height;
    } cases[] = {
        {"plain", Node::nodeWithPrimary<Node>("A"), 23},
        {"with secondary", withSecondary("B"), 33},
        {"empty secondary", withSecondary(""), 33},
        {"blank secondary", withSecondary(" "), 33},
        {"title", Node::nodeWithPrimary<TitleNode>("T"), 16},
        {"separator", Node::node<SeparatorNode>(), 8},
        {"album", album, 52},
        {"nothing found", Node::node<NothingFoundNode>(), 33},
        {"link", Node::node<GoogleNode>(), 23},
        {"similar artist", Node::nodeWithPrimary<CorrelationNode>("A"), 23},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.node->rowHeight(), c.height) << c.kind;
    auto tertiaryOnly = Node::nodeWithPrimary<Node>("A");
    tertiaryOnly->setTertiary("C");
    EXPECT_EQ(tertiaryOnly->rowHeight(), 23);
}

TEST(NodeRendering, SelectedRowsDrawWhiteLabelsAndTheSelectedArrow)
{
    // Loaded (an answer arrived) and not yet loaded, each with children.
    auto loaded = containerWith({{"Portishead", 1}});
    auto pending = Node::nodeWithPrimary<Node>("Massive Attack");
    pending->addNode(Node::node());
    const QRectF label(6, 4, rowWidth - 6 - 18, 15);
    const QRectF arrow(rowWidth - 11, 8, 7, 7);
    const QPointF nearTip(rowWidth - 11 + 4, 8 + 3); // inside the arrow, in its faint half when partial
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        for (Node* node : {static_cast<Node*>(loaded.get()), pending.get()}) {
            const QImage plain = renderRow(*node, rowWidth, 0, ratio);
            EXPECT_LT(area(plain, label).darkest, 60) << "black label";
            EXPECT_LT(area(plain, arrow).darkest, 120) << "dark arrow";
            EXPECT_GT(area(plain, QRectF(rowWidth - 4, 0, 4, 23)).darkest, 250) << "nothing right of the arrow";
        }
        for (const std::int32_t index : {2, 3}) {
            SCOPED_TRACE(index);
            const QImage selected = renderRow(*loaded, rowWidth, index, ratio);
            EXPECT_EQ(area(selected, label).brightest, 255) << "white label";
            EXPECT_EQ(area(selected, arrow).brightest, 255) << "white arrow";
            EXPECT_EQ(qGray(pixelAt(selected, nearTip.x(), nearTip.y()).rgb()), 255) << "a full arrow once loaded";
            const QImage partial = renderRow(*pending, rowWidth, index, ratio);
            EXPECT_LT(qGray(pixelAt(partial, nearTip.x(), nearTip.y()).rgb()), 230) << "the partial arrow before loading";
        }
    }
    // The selection backgrounds: blue when focused, gray otherwise.
    const QImage focused = renderRow(*loaded, rowWidth, 2);
    const QImage unfocused = renderRow(*loaded, rowWidth, 3);
    EXPECT_EQ(focused.pixel(2, 0), qRgb(32, 123, 218));
    EXPECT_EQ(unfocused.pixel(2, 0), qRgb(127, 126, 126));
}

TEST(NodeRendering, LabelsStayInsideTheirColumnAndVanishWhenThereIsNoRoom)
{
    auto childless = Node::nodeWithPrimary<Node>("Godspeed You! Black Emperor and a name that goes on and on");
    for (const qreal ratio : {1.0, 2.0}) {
        const QImage image = renderRow(*childless, 120, 0, ratio);
        const Area ink = area(image, QRectF(0, 0, 120, 23));
        EXPECT_EQ(ink.firstInk, 6);
        EXPECT_LE(ink.lastInk, 120 - 3) << "no arrow: the label runs up to 3 points from the edge";
        EXPECT_GE(ink.lastInk, 120 - 3 - 8) << "shortened, with its ellipsis near the edge";
    }
    // Narrower than the decorations: no label at all.
    const QImage narrow = renderRow(*childless, 9, 0, 2);
    EXPECT_EQ(area(narrow, QRectF(0, 0, 9, 23)).firstInk, -1);
}

TEST(NodeRendering, StarsFromTheParentsRangeComputedOnceAtFirstDraw)
{
    auto container = containerWith({{"Low", 10}, {"Mid", 40}, {"High", 100}});
    // Rows follow the caption row.
    auto low = row(container, 1), high = row(container, 3);
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage one = renderRow(*low, rowWidth, 0, ratio);
        const QImage four = renderRow(*high, rowWidth, 0, ratio);
        // Stars are 11 points wide, touching, the first 3 points from the right edge.
        EXPECT_GE(area(one, QRectF(rowWidth - 14, 0, 11, 23)).firstInk, rowWidth - 14);
        EXPECT_EQ(area(one, QRectF(rowWidth - 60, 0, 46, 23)).firstInk, -1) << "one star only";
        const Area stars = area(four, QRectF(rowWidth - 60, 0, 60, 23));
        EXPECT_LE(stars.firstInk, rowWidth - 3 - 44 + 1);
        EXPECT_GE(stars.firstInk, rowWidth - 3 - 44);
        EXPECT_LE(stars.lastInk, rowWidth - 3);
        for (int k = 0; k < 4; ++k)
            EXPECT_LT(area(four, QRectF(rowWidth - 3 - 11 * (k + 1) + 3, 8, 5, 5)).darkest, 170) << "star " << k + 1;
        // Selected: white stars.
        EXPECT_EQ(area(renderRow(*high, rowWidth, 2, ratio), QRectF(rowWidth - 14, 6, 11, 11)).brightest, 255);
    }
    EXPECT_EQ(low->nStars(), 1u);
    EXPECT_EQ(high->nStars(), 4u);
    // A later answer widens the range; the counts drawn stay.
    container->setCorrelations(records({{"Far", 1000}}));
    renderRow(*high, rowWidth, 0);
    EXPECT_EQ(high->nStars(), 4u);
    EXPECT_EQ(low->nStars(), 1u);
    auto equal = containerWith({{"A", 5}, {"B", 5}});
    EXPECT_EQ(row(equal, 1)->nStars(), 4u);
}

TEST(NodeRendering, LinkCapsuleLightsUnderThePointerAndDarkensWhilePressed)
{
    auto artist = Node::nodeWithPrimary<CorrelationNode>("Pink Floyd");
    artist->nodeWasSelected();
    auto link = std::dynamic_pointer_cast<URLQueryNode>(artist->nodes().at(1));
    ASSERT_NE(link, nullptr);
    const QRectF frame(0, 0, rowWidth, 23);
    const QRectF linkPicture(rowWidth - 20, 3, 14, 14);
    const QRectF text(13, 4, 100, 15);
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage idle = renderRow(*link, rowWidth, 0, ratio);
        EXPECT_EQ(pixelAt(idle, 5, 11).rgb(), qRgb(255, 255, 255)) << "no capsule";
        EXPECT_LT(area(idle, text).darkest, 60);
        EXPECT_LT(area(idle, linkPicture).darkest, 160) << "gray link picture";

        link->mouseEnteredCurrentFrame(nullptr, frame);
        QImage over = renderRow(*link, rowWidth, 0, ratio);
        EXPECT_EQ(pixelAt(over, 5, 11).rgb(), qRgb(170, 170, 170)) << "light gray capsule";
        EXPECT_EQ(pixelAt(over, rowWidth - 5, 11).rgb(), qRgb(170, 170, 170));
        EXPECT_EQ(pixelAt(over, 3, 3).rgb(), qRgb(255, 255, 255)) << "rounded ends";
        EXPECT_EQ(pixelAt(over, 1.5, 11).rgb(), qRgb(255, 255, 255)) << "2 points in from the edge";
        EXPECT_EQ(pixelAt(over, 100, 1).rgb(), qRgb(255, 255, 255));
        EXPECT_EQ(area(over, text).brightest, 255) << "white text";
        EXPECT_EQ(area(over, linkPicture).brightest, 255) << "white link picture";

        link->nodeMouseDown(nullptr);
        QImage pressed = renderRow(*link, rowWidth, 0, ratio);
        EXPECT_EQ(pixelAt(pressed, 5, 11).rgb(), qRgb(128, 128, 128)) << "mid gray while pressed";
        link->isMouseDown = false;

        link->mouseExitedCurrentFrame(nullptr, frame);
        EXPECT_EQ(renderRow(*link, rowWidth, 0, ratio), idle) << "leaving removes the capsule";
    }
    // The icon links: a 16-point icon at (7, 4), the text from x = 29.
    auto store = artist->nodes().at(9);
    const QImage image = renderRow(*store, rowWidth, 0, 2);
    EXPECT_EQ(area(image, QRectF(7, 4, 16, 16)).firstInk, 7);
    EXPECT_GE(area(image, QRectF(23, 0, 60, 23)).firstInk, 29);
}

TEST(NodeRendering, TitleSeparatorAlbumAndNothingFoundRows)
{
    // Title: the metal strip, the caption centred between x + 6 and x + w − 6.
    auto title = Node::nodeWithPrimary<TitleNode>("Similar to Air");
    const QImage strip = renderRow(*title, rowWidth, 0, 2);
    EXPECT_EQ(pixelAt(strip, 1, 15).rgb(), qRgb(102, 102, 102));
    EXPECT_EQ(pixelAt(strip, 1, 0).rgb(), RKGradient::metalHeaderGradient().color[0].rgb());
    int left = rowWidth, right = 0;
    for (qreal y = 2; y < 14; y += 0.5) { // each line against its own gradient colour
        const Area line = area(strip, QRectF(0, y, rowWidth, 0.5), pixelAt(strip, 0, y).rgb());
        if (line.firstInk >= 0) {
            left = std::min(left, line.firstInk);
            right = std::max(right, line.lastInk);
        }
    }
    EXPECT_GT(left, 6);
    EXPECT_NEAR((left + right) / 2.0, rowWidth / 2.0, 2.0);

    // Separator: white with a 2-point rule, 3 points in from each side.
    auto separator = Node::node<SeparatorNode>();
    const QImage rule = renderRow(*separator, rowWidth, 0, 2, true);
    EXPECT_EQ(pixelAt(rule, 100, 1).rgb(), qRgb(255, 255, 255)) << "white even on a light-blue row";
    EXPECT_EQ(pixelAt(rule, 3, 3).rgb(), qRgb(179, 179, 179));
    EXPECT_EQ(pixelAt(rule, rowWidth - 3.5, 4.5).rgb(), qRgb(179, 179, 179));
    EXPECT_EQ(pixelAt(rule, 2.5, 4).rgb(), qRgb(255, 255, 255));
    EXPECT_EQ(pixelAt(rule, rowWidth - 2.5, 4).rgb(), qRgb(255, 255, 255));
    EXPECT_EQ(pixelAt(rule, 100, 5).rgb(), qRgb(255, 255, 255));

    // Album: the cover in its shadow at (1, 1), labels from x + 57, no stars, no arrow.
    auto album = Node::node<ArtistAlbumNode>();
    album->setArtist("Radiohead");
    album->setAlbum("OK Computer");
    album->setDescription("Paranoid androids");
    QImage red(600, 600, QImage::Format_RGB32);
    red.fill(Qt::red);
    album->setImage(ArtistAlbumNode::imageWithShadow(red));
    for (const qreal ratio : {1.0, 2.0, 3.0}) {
        const QImage image = renderRow(*album, rowWidth, 0, ratio);
        EXPECT_EQ(pixelAt(image, 1 + 4, 1 + 5).rgb(), qRgb(255, 0, 0)) << ratio;
        EXPECT_EQ(pixelAt(image, 1 + 46.5, 1 + 47.5).rgb(), qRgb(255, 0, 0)) << ratio;
        EXPECT_NE(pixelAt(image, 1 + 47.5, 1 + 25).rgb(), qRgb(255, 0, 0)) << ratio;
        EXPECT_GE(area(image, QRectF(53, 0, 100, 52)).firstInk, 57);
        EXPECT_EQ(area(image, QRectF(rowWidth - 30, 0, 30, 52)).firstInk, -1) << "labels stop 3 points from the edge";
    }

    // Nothing found: the faded 33-point icon at (1, 1), gray labels from x + 39.
    auto nothing = Node::node<NothingFoundNode>();
    const QImage none = renderRow(*nothing, rowWidth, 0, 2);
    const Area icon = area(none, QRectF(1, 1, 33, 33));
    EXPECT_GT(icon.darkest, 100) << "drawn at half opacity";
    EXPECT_LT(icon.darkest, 250);
    EXPECT_GE(area(none, QRectF(34, 0, 100, 33)).firstInk, 39);
    EXPECT_GT(area(none, QRectF(39, 4, 100, 12)).darkest, 100) << "gray, not black";
}

} // namespace
