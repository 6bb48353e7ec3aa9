// SPDX-License-Identifier: GPL-3.0-or-later
// Paints one browser column holding every kind of row in each of its states (not selected,
// selected in the focused table, selected in a table without focus, a link under the pointer
// and pressed, a label shortened with "…", one to four stars, a cover and its placeholder) into
// PNG files at 1x and 2x, and every named picture at 1x and 3x, for looking at the drawing as a
// user sees it.
//
//   sample-sheet [OUTPUT_FOLDER]      (default: docs/ of the source tree)

#include "Application/ArtistAlbumNode.h"
#include "Application/CorrelationNode.h"
#include "Application/Correlation.h"
#include "Application/Node.h"
#include "Application/URLQueryNode.h"
#include "RKKit/RKImages.h"
#include "RKKit/RKTableCell.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <memory>
#include <vector>

namespace {

constexpr int columnWidth = 260;

struct Row {
    std::shared_ptr<Node> node;
    std::int32_t colorIndex = 0;
};

std::vector<Row> sampleRows(std::vector<std::shared_ptr<Node>>& keep)
{
    std::vector<Row> rows;
    const auto add = [&rows](std::shared_ptr<Node> node, std::int32_t index = 0) { rows.push_back({std::move(node), index}); };

    // Entries of the first column: a picture, two lines, an arrow (full once loaded, partial before).
    auto lookups = Node::nodeWithPrimary<CorrelationContainerNode>("Massive Attack");
    lookups->setCorrelations({{"Portishead", 92, 0}, {"Tricky", 74, 0}, {"Morcheeba", 51, 0},
                              {"Thievery Corporation", 33, 0}, {"Godspeed You! Black Emperor and the Long Label", 20, 0}});
    keep.push_back(lookups);
    auto recommendations = Node::nodeWithPrimarySecondary<Node>("Your Recommendations", "Portishead, Tricky, Björk");
    recommendations->setImage(RKImages::imageNamed("music"));
    recommendations->addNode(Node::node());
    auto picks = Node::nodeWithPrimarySecondary<Node>("Brondel's Picks", "hand chosen for your enjoyment");
    picks->setImage(RKImages::imageNamed("registration"));
    picks->addNode(Node::node());
    auto follower = Node::nodeWithPrimarySecondary<Node>("Current iTunes Artist", "Radiohead");
    follower->setImage(RKImages::imageNamed("itunes"));
    follower->addNode(Node::node());
    keep.insert(keep.end(), {recommendations, picks, follower});

    add(Node::nodeWithPrimary<TitleNode>("Lookups"));
    add(follower, 3);
    add(picks);
    add(recommendations);
    add(Node::node<SeparatorNode>());
    auto pending = Node::nodeWithPrimary<Node>("Similar to Radiohead");
    pending->addNode(Node::node());
    keep.push_back(pending);
    add(pending, 2);
    add(lookups);

    // Similar artists: one to four stars, selected focused and unfocused, a shortened name.
    add(Node::nodeWithPrimary<TitleNode>("Similar to Massive Attack"));
    const auto& artists = lookups->nodes();
    add(artists[1], 2);
    add(artists[2]);
    add(artists[3]);
    add(artists[4], 3);
    add(artists[5]);
    auto hebrew = Node::nodeWithPrimary<CorrelationNode>(QString::fromUtf8("\u05D4\u05D1\u05D9\u05D8\u05DC\u05E1 \u05E9\u05DC \u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DD \u05D5\u05D4\u05E1\u05D1\u05D9\u05D1\u05D4 \u05D4\u05E8\u05D7\u05D5\u05E7\u05D4 \u05DE\u05D0\u05D5\u05D3"));
    keep.push_back(hebrew);
    add(hebrew);
    add(Node::node<NothingFoundNode>());

    // Picks: a cover in its shadow, and the placeholder until a cover arrives.
    auto album = Node::node<ArtistAlbumNode>();
    album->setArtist("Radiohead");
    album->setAlbum("OK Computer");
    album->setDescription("Paranoid androids and lucky escapes");
    const QImage cover(QStringLiteral(CORVALE_SOURCE_DIR "/Service/data/covers/ok-computer.png"));
    if (!cover.isNull())
        album->setImage(ArtistAlbumNode::imageWithShadow(cover));
    auto waiting = Node::node<ArtistAlbumNode>();
    waiting->setArtist("Björk");
    waiting->setAlbum("Homogenic");
    waiting->setDescription("Cover still on its way");
    add(Node::nodeWithPrimary<TitleNode>("Brondel's Picks"));
    add(album, 2);
    add(waiting);

    // Search links: one under the pointer, one pressed, the rest at rest, icons on the last two.
    auto artist = Node::nodeWithPrimary<CorrelationNode>("Portishead");
    artist->nodeWasSelected();
    keep.push_back(artist);
    const QRectF frame(0, 0, columnWidth, 23);
    for (const auto& child : artist->nodes()) {
        auto link = std::dynamic_pointer_cast<URLQueryNode>(child);
        if (link && link->linkText() == QStringLiteral("Search Google"))
            link->mouseEnteredCurrentFrame(nullptr, frame);
        if (link && link->linkText() == QStringLiteral("Search Google Images")) {
            link->mouseEnteredCurrentFrame(nullptr, frame);
            link->isMouseDown = true;
        }
        add(child);
    }
    return rows;
}

QImage paintColumn(const std::vector<Row>& rows, qreal ratio)
{
    int height = 0;
    for (const Row& row : rows)
        height += int(row.node->rowHeight());
    QImage image(QSize(columnWidth, height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    qreal y = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Node& node = *rows[r].node;
        const QRectF frame(0, y, columnWidth, node.rowHeight());
        RKTableCell::drawBackgroundInRect(painter, frame, r % 2 == 0, rows[r].colorIndex);
        node.rkColorIndex = rows[r].colorIndex;
        node.drawWithFrameInView(painter, frame, nullptr);
        y += frame.height();
    }
    return image;
}

// Every named picture at its own size, side by side on white.
QImage paintPictures(qreal ratio)
{
    const char* names[] = {"BrowserArrow", "BrowserArrowSelected", "BrowserArrowPartial", "StarWhite", "StarGray", "Link",
                           "LinkWhite", "AlbumPlaceholder", "AlbumShadow", "Acquisition", "itunes", "NothingFound",
                           "registration", "music"};
    constexpr int gap = 6;
    int width = gap, height = 0;
    for (const char* name : names) {
        const QSizeF size = RKImages::imageNamed(QString::fromLatin1(name)).size();
        width += int(size.width()) + gap;
        height = std::max(height, int(size.height()));
    }
    QImage image(QSize(width, height + 2 * gap) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(96, 128, 176)); // white pictures need a background to be seen
    QPainter painter(&image);
    int x = gap;
    for (const char* name : names) {
        const RKImage picture = RKImages::imageNamed(QString::fromLatin1(name));
        picture.drawAtPoint(painter, QPointF(x, gap));
        x += int(picture.size().width()) + gap;
    }
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(CORVALE_SOURCE_DIR "/docs");
    QDir().mkpath(folder);

    std::vector<std::shared_ptr<Node>> keep;
    const std::vector<Row> rows = sampleRows(keep);
    QTextStream out(stdout);
    for (const int ratio : {1, 2}) {
        const QString path = QDir(folder).filePath(QStringLiteral("rows@%1x.png").arg(ratio));
        if (!paintColumn(rows, ratio).save(path)) {
            QTextStream(stderr) << "sample-sheet: cannot write " << path << "\n";
            return 1;
        }
        out << path << "\n";
    }
    for (const int ratio : {1, 3}) {
        const QString path = QDir(folder).filePath(QStringLiteral("pictures@%1x.png").arg(ratio));
        if (!paintPictures(ratio).save(path)) {
            QTextStream(stderr) << "sample-sheet: cannot write " << path << "\n";
            return 1;
        }
        out << path << "\n";
    }
    return 0;
}
