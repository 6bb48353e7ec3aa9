// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdView.h"
#include "Application/CorrelationLookupNode.h"
#include "Application/HistoryNode.h"

#include "ApplicationTestSupport.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QTcpServer>

#include <cfloat>

namespace {

std::shared_ptr<CorrelationLookupNode> lookup(const QString& name)
{
    return Node::nodeWithPrimary<CorrelationLookupNode>(name);
}

} // namespace

TEST(Lookup, RequestsTheWholeNameEncodedForTheAddress)
{
    SimilarArtistServer server;
    const struct {
        QString name;
        QByteArray target;
    } cases[] = {
        {"Pink Floyd", "/similar?artist=Pink%20Floyd&format=tagged"},
        {"Simon & Garfunkel", "/similar?artist=Simon%20%26%20Garfunkel&format=tagged"},
        {"AC/DC", "/similar?artist=AC%2FDC&format=tagged"},
        {"Sigur R\u00f3s", "/similar?artist=Sigur%20R%C3%B3s&format=tagged"},
        {"Bj\u00f6rk", "/similar?artist=Bj%C3%B6rk&format=tagged"},
    };
    std::vector<std::shared_ptr<CorrelationLookupNode>> entries;
    for (const auto& c : cases) {
        entries.push_back(lookup(c.name));
        entries.back()->nodeWasSelected();
    }
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == int(std::size(cases)); }));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_TRUE(server.requestTargets().contains(cases[i].target)) << cases[i].target.constData();
    EXPECT_EQ(CorrelationLookupNode::urlPrefix(), server.baseUrl() + "/similar?artist=");
    EXPECT_EQ(CorrelationLookupNode::urlPostfix(), "&format=tagged");
}

TEST(Lookup, TheServiceAddressDefaultsToTheLocalService)
{
    EXPECT_EQ(CorrelationLookupNode::urlPrefix(), "http://127.0.0.1:8642/similar?artist=");
}

TEST(Lookup, AnAnswerBecomesRatedRowsAndFeedsTheHistory)
{
    SimilarArtistServer server;
    server.answers["Pink Floyd"] = {{"Yes", 80}, {"Genesis", 60}, {"King Crimson", 40}};
    AdView banner;
    auto entry = lookup("Pink Floyd");
    entry->nodeWasSelected();
    EXPECT_EQ(banner.keywords(), "Pink Floyd");
    EXPECT_FALSE(entry->isLoaded());
    EXPECT_EQ(primaries(*entry), QStringList{"Similar to Pink Floyd"}) << "only the header while asking";
    ASSERT_TRUE(waitUntil([&] { return entry->isLoaded(); }));

    EXPECT_EQ(primaries(*entry), (QStringList{"Similar to Pink Floyd", "Yes", "Genesis", "King Crimson"}));
    EXPECT_EQ(entry->maxRating(), 80.0f);
    EXPECT_FALSE(entry->xml().has_value()) << "the buffer is dropped after parsing";
    ASSERT_NE(HistoryNode::instance()->historicalCorrelationNamed("Genesis"), nullptr);
    EXPECT_EQ(HistoryNode::instance()->historicalCorrelationNamed("Genesis")->rating, 60.0f);

    entry->nodeWasSelected(); // asks once per run
    spinEventLoop(100);
    EXPECT_EQ(server.requestCount(), 1);
}

TEST(Lookup, AnEmptyAnswerOrAnErrorPageShowsNothingFound)
{
    SimilarArtistServer server;
    HistoryNode::instance()->addCorrelations({Correlation{"Before", 1, 0}});
    const auto rowBefore = HistoryNode::instance()->nodes().at(1);
    auto unknown = lookup("Nobody Knows");
    unknown->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return unknown->isLoaded(); }));
    EXPECT_EQ(primaries(*unknown), (QStringList{"Similar to Nobody Knows", "No Similar Artists Found"}));
    ASSERT_EQ(HistoryNode::instance()->nodes().size(), 2u);
    EXPECT_NE(HistoryNode::instance()->nodes().at(1), rowBefore) << "the history is rebuilt even for an empty answer";

    UserDefaults::standardUserDefaults().setObjectForKey(server.baseUrl() + "/missing-service", "ServiceURL");
    auto errorPage = lookup("Yes");
    errorPage->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return errorPage->isLoaded(); }));
    EXPECT_EQ(primaries(*errorPage).last(), "No Similar Artists Found");
}

TEST(Lookup, ParsesTheTaggedFormat)
{
    const struct {
        const char* body;
        QStringList names;
        std::vector<float> ratings;
        std::vector<float> popularities;
    } cases[] = {
        {"<?xml version=\"1.0\"?><list><r><a>Asked</a><c>100</c><p>1</p></r><r><a>B</a><c>7.5</c><p> 12abc</p></r>"
         "<r><p>3</p><c></c><a>C D</a></r></list>",
         {"B", "C D"}, {7.5f, 0.0f}, {12.0f, 3.0f}},
        {"no records at all", {}, {}, {}},
        {"<r><a>Only the asked artist</a><c>1</c><p>1</p>", {}, {}, {}},
        // Broken records are skipped: a missing pair, a closing tag first, an empty name.
        {"<r>x<r><a>Good</a><c>1</c><p>2</p><r><a>NoRating</a><p>1</p><r></a>Backwards<a><c>1</c><p>1</p>"
         "<r><a></a><c>1</c><p>1</p><r><a>  Spaced  </a><c>-2e1</c><p>0</p>",
         {"Good", "  Spaced  "}, {1.0f, -20.0f}, {2.0f, 0.0f}},
        // Names are XML text: the predefined entities and character references are decoded; an
        // "&" that starts no reference stays, as an older service sent names unescaped.
        {"<r><r><a>AT&amp;T &lt;3 &gt; &quot;x&quot; &apos;</a><c>1</c><p>1</p>", {"AT&T <3 > \"x\" '"}, {1.0f}, {1.0f}},
        {"<r><r><a>Caf&#233; &#x1F3B5; &#X41;</a><c>1</c><p>1</p>", {"Caf\u00e9 \U0001F3B5 &#X41;"}, {1.0f}, {1.0f}},
        {"<r><r><a>Simon & Garfunkel &amp c &nbsp; &#; &#0; &#xD800; &#1114112; &</a><c>1</c><p>1</p>",
         {"Simon & Garfunkel &amp c &nbsp; &#; &#0; &#xD800; &#1114112; &"}, {1.0f}, {1.0f}},
        // Each "&" is tried in turn, against the first ";" after it.
        {"<r><r><a>&&&amp;&#65;&</a><c>1</c><p>1</p>", {"&&&A&"}, {1.0f}, {1.0f}},
        // Numbers: Unicode white space around them is trimmed; they end at the first character
        // that is not part of one, ASCII or not; only the first of each tag counts, and a
        // field's text is read as it stands, tags and all.
        {"<r><r><a>N</a><c>\u00a012\u2028</c><p>7\u0663</p><c>5</c></r>", {"N"}, {12.0f}, {7.0f}},
        {"<r><r><a>Tags</a><c>\u0663</c><p><a>inner</a></p>", {"Tags"}, {0.0f}, {0.0f}},
        // A rating too large for a float is the largest float, not infinity.
        {"<r><r><a>Huge</a><c>1e39</c><p>-1e39</p>", {"Huge"}, {FLT_MAX}, {-FLT_MAX}},
    };
    for (const auto& c : cases) {
        const auto parsed = CorrelationLookupNode::parseCorrelations(QString::fromUtf8(c.body));
        QStringList names;
        std::vector<float> ratings, popularities;
        for (const Correlation& r : parsed) {
            names.append(r.name);
            ratings.push_back(r.rating);
            popularities.push_back(r.popularity);
        }
        EXPECT_EQ(names, c.names) << c.body;
        EXPECT_EQ(ratings, c.ratings) << c.body;
        EXPECT_EQ(popularities, c.popularities) << c.body;
    }
}

TEST(Lookup, DecodesUtf8EvenWhenACharacterIsSplitAcrossPieces)
{
    SimilarArtistServer server;
    const QByteArray body = taggedAnswer("Asked", 100, {{"Bj\u00f6rk", 10}, {"Sigur R\u00f3s", 5}}) + "<r><a>Bad \xff byte</a><c>1</c><p>1</p></r>";
    const qsizetype split = body.indexOf("\xc3") + 1; // between the two bytes of "ö"
    HttpReply reply;
    reply.pieces = {body.left(split), body.mid(split)};
    server.route("/similar", reply);
    auto entry = lookup("Asked");
    entry->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return entry->isLoaded(); }));
    EXPECT_EQ(primaries(*entry), (QStringList{"Similar to Asked", "Bj\u00f6rk", "Sigur R\u00f3s", "Bad \ufffd byte"}));
}

TEST(Lookup, AFailedTransferLeavesTheHeaderAndIsNotRetried)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    UserDefaults::standardUserDefaults().setObjectForKey(QStringLiteral("http://127.0.0.1:%1").arg(closedPort), "ServiceURL");
    auto entry = lookup("Pink Floyd");
    entry->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return !entry->connection()->isRunning(); }));
    EXPECT_FALSE(entry->isLoaded());
    EXPECT_EQ(primaries(*entry), QStringList{"Similar to Pink Floyd"});

    SimilarArtistServer server; // the service is back, but the entry does not ask again
    entry->nodeWasSelected();
    spinEventLoop(100);
    EXPECT_EQ(server.requestCount(), 0);
}

TEST(Lookup, AnEmptyNameAsksNothing)
{
    SimilarArtistServer server;
    auto entry = lookup("");
    entry->nodeWasSelected();
    spinEventLoop(50);
    EXPECT_EQ(entry->connection(), nullptr);
    EXPECT_EQ(server.requestCount(), 0);
}

TEST(Lookup, ADeletedEntryStillFoldsItsAnswerIntoTheHistory)
{
    SimilarArtistServer server;
    server.answers["Low"] = {{"Galaxie 500", 9}};
    server.delayMs = 200;
    std::weak_ptr<CorrelationLookupNode> weak;
    {
        auto entry = lookup("Low");
        weak = entry;
        entry->nodeWasSelected();
    } // removed from every list; only its running transfer holds it
    EXPECT_FALSE(weak.expired());
    ASSERT_TRUE(waitUntil([&] { return HistoryNode::instance()->historicalCorrelationNamed("Galaxie 500") != nullptr; }));
    ASSERT_TRUE(waitUntil([&] { return weak.expired(); })) << "freed once the transfer ended";
}

TEST(Lookup, ReleasingDropsARunningTransferSoItCannotReachTheNextLookup)
{
    SimilarArtistServer server;
    server.answers["Old"] = {{"Stale", 1}};
    server.answers["New"] = {{"Fresh", 1}};
    server.delayMs = 250;
    auto entry = lookup("Old");
    entry->lookupCorrelations("Old");
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; }));
    entry->releaseCorrelations();
    EXPECT_EQ(entry->connection(), nullptr);
    server.delayMs = 0;
    entry->lookupCorrelations("New");
    ASSERT_TRUE(waitUntil([&] { return entry->isLoaded(); }));
    spinEventLoop(400); // long enough for the old answer to have arrived
    EXPECT_EQ(primaries(*entry), (QStringList{"Similar to Old", "Fresh"}));
    EXPECT_EQ(HistoryNode::instance()->historicalCorrelationNamed("Stale"), nullptr);
}

TEST(Lookup, AnOversizedAnswerIsCutOffAndNotParsed)
{
    SimilarArtistServer server;
    const QByteArray record = "<r><a>Spam</a><c>1</c><p>1</p></r>";
    HttpReply reply;
    reply.pieceDelayMs = 0;
    QByteArray chunk;
    while (chunk.size() < 1024 * 1024)
        chunk += record;
    for (int i = 0; i < 9; ++i)
        reply.pieces.append(chunk);
    server.route("/similar", reply);
    auto entry = lookup("Flood");
    entry->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return !entry->connection()->isRunning(); }, 15000));
    spinEventLoop(100);
    EXPECT_FALSE(entry->isLoaded());
    EXPECT_FALSE(entry->xml().has_value());
    EXPECT_EQ(primaries(*entry), QStringList{"Similar to Flood"});
    EXPECT_EQ(HistoryNode::instance()->historicalCorrelationNamed("Spam"), nullptr);
}
