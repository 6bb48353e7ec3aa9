// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdView.h"
#include "Application/ArtistAlbumNode.h"
#include "Application/BrondelNode.h"
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/MainNode.h"

#include "ApplicationTestSupport.h"
#include "support/LogCapture.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <plist/plist.h>

#include <cstdlib>

namespace {

QByteArray png(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray xmlPicks(const QString& picks)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict><key>Artists</key><array>"
        + picks.toUtf8() + "</array></dict></plist>\n";
}

QString pick(const QString& artist, const QString& album, const QString& description, const QString& image)
{
    return QStringLiteral("<dict><key>Artist</key><string>%1</string><key>Album</key><string>%2</string>"
                          "<key>Description</key><string>%3</string><key>Image</key><string>%4</string></dict>")
        .arg(artist, album, description, image);
}

// A binary picks list: one pick per (artist, album), each with a description.
QByteArray binaryPicks(std::initializer_list<std::pair<const char*, const char*>> list)
{
    plist_t root = plist_new_dict();
    plist_t artists = plist_new_array();
    for (const auto& [artist, album] : list) {
        plist_t one = plist_new_dict();
        plist_dict_set_item(one, "Artist", plist_new_string(artist));
        plist_dict_set_item(one, "Album", plist_new_string(album));
        plist_dict_set_item(one, "Description", plist_new_string("Quiet and bare"));
        plist_array_append_item(artists, one);
    }
    plist_dict_set_item(root, "Artists", artists);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    const QByteArray binary(bytes, qsizetype(length));
    free(bytes);
    plist_free(root);
    return binary;
}

struct PicksFixture : ::testing::Test {
    SimilarArtistServer server;
    std::shared_ptr<BrondelNode> picks = Node::nodeWithPrimarySecondary<BrondelNode>("Brondel's Picks", "hand chosen for your enjoyment");

    std::shared_ptr<ArtistAlbumNode> album(std::size_t i) const
    {
        return std::dynamic_pointer_cast<ArtistAlbumNode>(picks->nodes().at(i));
    }
    bool coverArrived(std::size_t i) const { return album(i)->image().cacheKey() != ArtistAlbumNode::placeholderImage().cacheKey(); }
};

} // namespace

TEST_F(PicksFixture, DownloadsTheListOnceOnFirstSelectionAndEachRowItsCover)
{
    server.route("/covers/a.png", HttpReply::body(png({300, 300}, Qt::red), 200, "image/png"));
    server.route("/covers/b.png", HttpReply::body(png({64, 64}, Qt::blue), 200, "image/png"));
    const QString covers = server.baseUrl() + "/covers/";
    server.route("/picks.plist", HttpReply::body(xmlPicks(pick("Radiohead", "OK Computer", "Paranoid androids", covers + "a.png")
                                                          + pick("Bj\u00f6rk", "Homogenic", "Icelandic strings", covers + "b.png")
                                                          + pick("Low", "Things We Lost", "Slow &amp; quiet", covers + "missing.png")),
                                                 200, "application/xml"));
    EXPECT_TRUE(picks->mightHaveSubnodes()) << "the arrow shows before anything arrives";
    spinEventLoop(50);
    EXPECT_EQ(server.requestCount(), 0) << "nothing is fetched before the first selection";

    picks->nodeWasSelected();
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return picks->isLoaded(); }));
    ASSERT_EQ(picks->nodes().size(), 4u);
    EXPECT_EQ(picks->nodes()[0]->primaryString(), "Brondel's Picks");
    EXPECT_EQ(album(1)->primaryString(), "Radiohead");
    EXPECT_EQ(album(1)->secondaryString(), "OK Computer");
    EXPECT_EQ(album(1)->tertiaryString(), "Paranoid androids");
    EXPECT_EQ(album(3)->tertiaryString(), "Slow & quiet");

    ASSERT_TRUE(waitUntil([&] { return coverArrived(1) && coverArrived(2); }));
    EXPECT_EQ(album(1)->image().size(), QSizeF(51, 51));
    const QImage cover = album(1)->image().imageForDevicePixelRatio(2);
    const QPoint middle(int(25 * cover.devicePixelRatio()), int(27 * cover.devicePixelRatio()));
    EXPECT_EQ(QColor(cover.pixel(middle)), QColor(Qt::red)) << "the cover is drawn into the square of the shadow";
    spinEventLoop(100);
    EXPECT_FALSE(coverArrived(3)) << "a 404 page is no picture: the placeholder stays";
    EXPECT_EQ(server.requestTargets().count("/picks.plist"), 1);
}

TEST_F(PicksFixture, BadPicksAreSkippedAndBadCoversKeepThePlaceholder)
{
    server.route("/covers/text.png", HttpReply::body("this is not a picture", 200, "image/png"));
    server.route("/covers/huge.png", HttpReply::body(png({5000, 8}, Qt::green), 200, "image/png"));
    const QString covers = server.baseUrl() + "/covers/";
    server.route("/picks.plist", HttpReply::body(xmlPicks(
        "<string>not a dictionary</string>"
        "<dict><key>Artist</key><integer>7</integer><key>Album</key><string>X</string></dict>"
        + pick("No Cover", "A", "B", "not an address at all")
        + pick("Text Cover", "A", "B", covers + "text.png")
        + pick("Huge Cover", "A", "B", covers + "huge.png")
        + "<dict><key>Artist</key><string>Only Artist</string><key>Image</key><integer>3</integer></dict>")));
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return picks->isLoaded(); }));
    ASSERT_EQ(picks->nodes().size(), 5u);
    EXPECT_EQ(album(1)->primaryString(), "No Cover");
    EXPECT_EQ(album(4)->primaryString(), "Only Artist");
    EXPECT_EQ(album(4)->secondary(), nullptr) << "a missing key leaves the text absent";
    ASSERT_TRUE(waitUntil([&] { return server.requestTargets().contains("/covers/huge.png"); }));
    spinEventLoop(300);
    for (std::size_t i = 1; i <= 4; ++i)
        EXPECT_FALSE(coverArrived(i)) << album(i)->primaryString().toStdString();
}

TEST_F(PicksFixture, ListsThatAreNotPicksGiveNoRows)
{
    const QByteArray bodies[] = {
        "<html>not a property list</html>",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Other</key><string>x</string></dict></plist>",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>",
        "bplist00\x01\x02 truncated binary",
        "",
    };
    for (const QByteArray& body : bodies) {
        SimilarArtistServer local;
        local.route("/picks.plist", HttpReply::body(body));
        auto entry = Node::nodeWithPrimary<BrondelNode>("Brondel's Picks");
        entry->nodeWasSelected();
        ASSERT_TRUE(waitUntil([&] { return entry->isLoaded(); })) << body.constData();
        EXPECT_EQ(entry->nodes().size(), 1u) << body.constData();
    }
}

TEST_F(PicksFixture, ReadsBinaryPropertyLists)
{
    server.route("/picks.plist", HttpReply::body(binaryPicks({{"Nick Drake", "Pink Moon"}})));
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return picks->isLoaded(); }));
    ASSERT_EQ(picks->nodes().size(), 2u);
    EXPECT_EQ(album(1)->secondaryString(), "Pink Moon");
}

TEST_F(PicksFixture, AnOversizedListIsNotParsed)
{
    QString many;
    while (many.size() < 1100 * 1024)
        many += pick("Spam", "Spam", "Spam", "http://127.0.0.1:1/x.png");
    server.route("/picks.plist", HttpReply::body(xmlPicks(many)));
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return !picks->connection()->isRunning(); }));
    spinEventLoop(50);
    EXPECT_FALSE(picks->isLoaded());
    EXPECT_EQ(picks->nodes().size(), 1u);
}

TEST_F(PicksFixture, AlbumRowsBehaveLikeArtistRows)
{
    AdView banner;
    UserDefaults::standardUserDefaults().setObjectForKey(QStringList(), "CorrelationLookupNodes");
    BrowserView browser;
    auto albumRow = Node::node<ArtistAlbumNode>();
    albumRow->setArtist("Nick Drake");
    albumRow->setAlbum("Pink Moon");
    albumRow->setDescription("Quiet and bare");
    EXPECT_EQ(albumRow->image().cacheKey(), ArtistAlbumNode::placeholderImage().cacheKey());
    EXPECT_EQ(albumRow->rating, 0.0f);
    browser.rootNode()->nodes()[2]->addNode(albumRow); // under the picks entry

    albumRow->nodeWasSelected();
    EXPECT_EQ(albumRow->nodes().size(), 11u);
    EXPECT_EQ(albumRow->nodes()[0]->primaryString(), "Nick Drake");
    EXPECT_EQ(banner.keywords(), "Nick Drake");

    albumRow->doubleClickedNode();
    ASSERT_EQ(browser.rootNode()->nodes().size(), 6u);
    EXPECT_EQ(browser.rootNode()->nodes()[5]->primaryString(), "Nick Drake") << "the artist, not the album";
    EXPECT_EQ(browser.tableAtIndex(0)->selectedRow(), 5);
}

TEST_F(PicksFixture, APickWithANulInAStringIsSkipped)
{
    // A binary list whose text is stored as UTF-16 (it has a letter outside ASCII), with one
    // character turned into U+0000: libplist's zero-terminated reader aborts on such a string.
    QByteArray binary = binaryPicks({{"Before", "Album"}, {"B\u00e4dXName", "Album"}, {"After", "Album"}});
    const QByteArray utf16X("\0X", 2);
    ASSERT_EQ(binary.count(utf16X), 1);
    binary.replace(utf16X, QByteArray(2, '\0'));

    server.route("/picks.plist", HttpReply::body(binary));
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return picks->isLoaded(); }));
    EXPECT_EQ(primaries(*picks), (QStringList{"Brondel's Picks", "Before", "After"}));

    // The XML form ("&#0;") must not get through either, whether the reader refuses the
    // whole list or hands the string on.
    const auto fromXml = BrondelNode::picksFromPropertyList(xmlPicks(pick("Bad&#0;Name", "A", "B", "") + pick("Good", "A", "B", "")));
    for (const BrondelNode::Pick& each : fromXml.value_or(std::vector<BrondelNode::Pick>{}))
        EXPECT_FALSE(each.artist.value_or(QString()).contains(QChar(0)));
}

TEST_F(PicksFixture, CoversComeOnlyOverHttpOrHttps)
{
    QTemporaryDir dir;
    const QString localCover = dir.filePath("cover.png");
    {
        QFile file(localCover);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(png({64, 64}, Qt::green));
    }
    server.route("/covers/a.png", HttpReply::body(png({64, 64}, Qt::red), 200, "image/png"));
    LogCapture log;
    server.route("/picks.plist", HttpReply::body(xmlPicks(
        pick("Local File", "A", "B", QUrl::fromLocalFile(localCover).toString())
        + pick("Standard Input", "A", "B", "file:///dev/stdin")
        + pick("Inline", "A", "B", "data:image/png;base64," + QString::fromLatin1(png({8, 8}, Qt::blue).toBase64()))
        + pick("Ftp", "A", "B", "ftp://127.0.0.1/cover.png")
        + pick("Web", "A", "B", server.baseUrl() + "/covers/a.png"))));
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return picks->isLoaded(); }));
    ASSERT_EQ(picks->nodes().size(), 6u);
    ASSERT_TRUE(waitUntil([&] { return coverArrived(5); })) << "an http cover still arrives";
    spinEventLoop(200);
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_FALSE(coverArrived(i)) << album(i)->primaryString().toStdString();
        EXPECT_EQ(album(i)->connection(), nullptr) << "nothing was fetched for " << album(i)->primaryString().toStdString();
        EXPECT_EQ(log.count("cover address of \"" + album(i)->primaryString() + "\""), 1);
    }
}
