// SPDX-License-Identifier: GPL-3.0-or-later
// The service's endpoints over real sockets, with the offline catalog as the only provider.
#include "ServiceTestSupport.h"

#include "Service/CatalogProvider.h"
#include "Service/ProviderRegistry.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdlib>
#include <memory>

#include <QImage>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

class CatalogService : public ::testing::Test {
protected:
    void SetUp() override { fixture.start(QStringLiteral("catalog")); }
    ServiceFixture fixture;
};

QStringList names(const QList<TaggedRecord>& records)
{
    QStringList list;
    for (const TaggedRecord& record : records)
        list.append(record.name);
    return list;
}

} // namespace

TEST_F(CatalogService, AnswersACatalogArtistInTheTaggedFormatTheAppReads)
{
    const HttpResult result = fixture.similar(QStringLiteral("Radiohead"));
    ASSERT_EQ(result.status, 200);
    EXPECT_EQ(result.contentType, "text/xml; charset=utf-8");
    EXPECT_TRUE(isWellFormedAnswer(result.body, QStringLiteral("Radiohead"))) << result.body.constData();

    const QList<TaggedRecord> records = parseTaggedAnswer(result.body);
    const CatalogProvider catalog;
    const CatalogProvider::Entry* entry = catalog.find(QStringLiteral("Radiohead"));
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(records.size(), entry->similar.size());
    EXPECT_EQ(records.first(), (TaggedRecord{QStringLiteral("Thom Yorke"), 95, 50}));
    EXPECT_EQ(records[names(records).indexOf(QStringLiteral("Muse"))], (TaggedRecord{QStringLiteral("Muse"), 82, 86}))
        << "a similar artist with its own catalog entry carries its popularity";
    for (qsizetype i = 1; i < records.size(); ++i)
        EXPECT_GE(records[i - 1].rating, records[i].rating) << "most similar first";
    EXPECT_FALSE(names(records).contains(QStringLiteral("Radiohead"))) << "the asked artist is only the first record";
}

TEST_F(CatalogService, FindsNamesRegardlessOfCaseSpacingAndLeadingArticle)
{
    const QList<TaggedRecord> expected = parseTaggedAnswer(fixture.similar(QStringLiteral("The Beatles")).body);
    ASSERT_FALSE(expected.isEmpty());
    for (const QString& variant : {QStringLiteral("the beatles"), QStringLiteral("  THE   Beatles "), QStringLiteral("Beatles")}) {
        const HttpResult result = fixture.similar(variant);
        EXPECT_EQ(parseTaggedAnswer(result.body), expected) << qPrintable(variant);
        EXPECT_TRUE(isWellFormedAnswer(result.body, variant.simplified())) << qPrintable(variant);
    }
}

TEST_F(CatalogService, SendsNonAsciiNamesAsUtf8BothWays)
{
    const HttpResult result = fixture.similar(QStringLiteral("Björk"));
    ASSERT_EQ(result.status, 200);
    EXPECT_TRUE(result.body.contains("<r><a>Björk</a><c>100</c>"));
    const QStringList similar = names(parseTaggedAnswer(result.body));
    EXPECT_TRUE(similar.contains(QStringLiteral("Sigur Rós"))) << qPrintable(similar.join(u", "));
    EXPECT_TRUE(similar.contains(QStringLiteral("Róisín Murphy")));
}

TEST_F(CatalogService, AnUnknownArtistGetsOnlyItsOwnRecord)
{
    const HttpResult result = fixture.similar(QStringLiteral("Nobody Has Heard Of Us"));
    EXPECT_EQ(result.status, 200);
    EXPECT_TRUE(isWellFormedAnswer(result.body, QStringLiteral("Nobody Has Heard Of Us")));
    EXPECT_EQ(result.body.count("<r>"), 1);
    EXPECT_TRUE(parseTaggedAnswer(result.body).isEmpty()) << "the app shows \"No Similar Artists Found\"";
}

struct QueryCase {
    const char* label;
    QByteArray target;
    int status;
    const char* artist; // the first record's name when the answer is 200
    bool found;
};

void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.label; }

class BadQuery : public CatalogService, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(BadQuery, GetsAWellFormedAnswerOrA400AndTheServiceGoesOn)
{
    const QueryCase& c = GetParam();
    const HttpResult result = httpGet(fixture.manager, fixture.base() + QString::fromLatin1(c.target));
    ASSERT_TRUE(result.answered);
    EXPECT_EQ(result.status, c.status);
    if (c.status == 200) {
        EXPECT_TRUE(isWellFormedAnswer(result.body, QString::fromUtf8(c.artist))) << result.body.left(300).constData();
        EXPECT_EQ(!parseTaggedAnswer(result.body).isEmpty(), c.found);
    } else {
        EXPECT_FALSE(result.body.contains("<r>"));
    }
    EXPECT_EQ(fixture.similar(QStringLiteral("Radiohead")).status, 200) << "still answering";
}

INSTANTIATE_TEST_SUITE_P(Queries, BadQuery, ::testing::Values(
    QueryCase{"NoQuery", "/similar", 400, "", false},
    QueryCase{"EmptyQuery", "/similar?", 400, "", false},
    QueryCase{"EmptyArtist", "/similar?artist=&format=tagged", 400, "", false},
    QueryCase{"OnlySpaces", "/similar?artist=%20%20+", 400, "", false},
    QueryCase{"TenKilobytes", "/similar?artist=" + QByteArray(10 * 1024, 'a') + "&format=tagged", 400, "", false},
    QueryCase{"InvalidUtf8", "/similar?artist=%FF%FEabc", 400, "", false},
    QueryCase{"TruncatedUtf8", "/similar?artist=Bj%C3", 400, "", false},
    QueryCase{"Nul", "/similar?artist=%00", 400, "", false},
    QueryCase{"NulInside", "/similar?artist=Radio%00head", 400, "", false},
    QueryCase{"ControlCharacter", "/similar?artist=Radio%07head", 400, "", false},
    QueryCase{"ScriptTagEncoded", "/similar?artist=%3Cscript%3Ealert(1)%3C%2Fscript%3E", 400, "", false},
    QueryCase{"ScriptTagRaw", "/similar?artist=<script>", 400, "", false},
    QueryCase{"OtherFormat", "/similar?artist=Radiohead&format=json", 400, "", false},
    QueryCase{"LonePercent", "/similar?artist=%25", 200, "%", false},
    QueryCase{"OutsideTheBasicPlane", "/similar?artist=%F0%A0%AE%B7%E7%94%B0", 200, "\U00020BB7\u7530", false},
    QueryCase{"Emoji", "/similar?artist=Bj%C3%B6rk%20%F0%9F%8E%B5", 200, "Bj\u00f6rk \U0001F3B5", false},
    QueryCase{"EncodedSurrogate", "/similar?artist=%ED%A0%80x", 400, "", false},
    QueryCase{"NonCharacter", "/similar?artist=%EF%BF%BE", 400, "", false},
    QueryCase{"NoFormat", "/similar?artist=Radiohead", 200, "Radiohead", true},
    QueryCase{"RepeatedArtist", "/similar?format=tagged&artist=Muse&artist=Radiohead", 200, "Muse", true},
    QueryCase{"PlusAsSpace", "/similar?artist=Simon+%26+Garfunkel&format=tagged", 200, "Simon & Garfunkel", true},
    QueryCase{"EncodedSlash", "/similar?artist=AC%2FDC&format=tagged", 200, "AC/DC", true},
    QueryCase{"EntityText", "/similar?artist=Tom%20%26amp%3B%20Jerry", 200, "Tom &amp; Jerry", false},
    QueryCase{"ExtraParameters", "/similar?x=1&&artist=Radiohead&y", 200, "Radiohead", true}),
    [](const auto& info) { return std::string(info.param.label); });

struct RawCase {
    const char* label;
    QByteArray request;
    QByteArray statusLine;
};

void PrintTo(const RawCase& c, std::ostream* os) { *os << c.label; }

class RawRequest : public CatalogService, public ::testing::WithParamInterface<RawCase> {};

TEST_P(RawRequest, GetsTheRightStatus)
{
    const QByteArray answer = rawExchange(fixture.service->port(), GetParam().request);
    EXPECT_TRUE(answer.startsWith(GetParam().statusLine)) << answer.left(200).constData();
    EXPECT_EQ(fixture.similar(QStringLiteral("Muse")).status, 200) << "still answering";
}

INSTANTIATE_TEST_SUITE_P(Requests, RawRequest, ::testing::Values(
    RawCase{"UnknownPath", "GET /nothing/here HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n", "HTTP/1.1 404"},
    RawCase{"Root", "GET / HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 404"},
    RawCase{"CoverOutsideFolder", "GET /covers/..%2F..%2FCMakeLists.txt HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 404"},
    RawCase{"UnknownCover", "GET /covers/none.png HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 404"},
    RawCase{"Post", "POST /similar?artist=Muse HTTP/1.1\r\nContent-Length: 4\r\nConnection: close\r\n\r\nabcd", "HTTP/1.1 405"},
    RawCase{"Garbage", "\x01\x02 hello\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"NotHttp", "GET /similar?artist=Muse SPDY/9\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"BadHeader", "GET /version.txt HTTP/1.1\r\nno colon here\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"HugeHeader", "GET /version.txt HTTP/1.1\r\nX-Big: " + QByteArray(40 * 1024, 'x') + "\r\n\r\n", "HTTP/1.1 431"},
    RawCase{"EndlessHeader", "GET /version.txt HTTP/1.1\r\nX-Big: " + QByteArray(40 * 1024, 'x'), "HTTP/1.1 431"},
    RawCase{"Chunked", "POST /similar HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "HTTP/1.1 501"},
    RawCase{"HugeBody", "POST /similar HTTP/1.1\r\nContent-Length: 999999999\r\n\r\n", "HTTP/1.1 413"},
    RawCase{"Http10", "GET /version.txt HTTP/1.0\r\n\r\n", "HTTP/1.1 200"},
    RawCase{"BareLineFeeds", "GET /version.txt HTTP/1.1\nHost: 127.0.0.1\nConnection: close\n\n", "HTTP/1.1 200"},
    RawCase{"BareCarriageReturn", "GET /version.txt HTTP/1.1\rHost: x\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"BrokenEscapeInQuery", "GET /similar?artist=%G1 HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"TruncatedEscapeInQuery", "GET /similar?artist=AC%2 HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"BrokenEscapeInName", "GET /similar?art%ZZist=Muse HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"BrokenEscapeInPath", "GET /covers/%G1.png HTTP/1.1\r\nConnection: close\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"ConflictingLengths", "POST /similar HTTP/1.1\r\nContent-Length: 0\r\nContent-Length: 20\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"SignedLength", "POST /similar HTTP/1.1\r\nContent-Length: +4\r\n\r\nabcd", "HTTP/1.1 400"},
    RawCase{"RepeatedLength", "POST /similar HTTP/1.1\r\nContent-Length: 4\r\nContent-Length: 4\r\nConnection: close\r\n\r\nabcd", "HTTP/1.1 405"},
    RawCase{"SpaceBeforeColon", "GET /version.txt HTTP/1.1\r\nHost : 127.0.0.1\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"OtherHost", "GET /version.txt HTTP/1.1\r\nHost: attacker.example\r\n\r\n", "HTTP/1.1 421"},
    RawCase{"OtherHostWithOurPort", "GET /version.txt HTTP/1.1\r\nHost: rebound.example:8642\r\n\r\n", "HTTP/1.1 421"},
    RawCase{"TwoHosts", "GET /version.txt HTTP/1.1\r\nHost: localhost\r\nHost: attacker.example\r\n\r\n", "HTTP/1.1 400"},
    RawCase{"Localhost", "GET /version.txt HTTP/1.1\r\nHost: LOCALHOST:8642\r\nConnection: close\r\n\r\n", "HTTP/1.1 200"},
    RawCase{"LoopbackAddress", "GET /version.txt HTTP/1.1\r\nHost: 127.0.0.1:8642\r\nConnection: close\r\n\r\n", "HTTP/1.1 200"},
    RawCase{"LoopbackV6", "GET /version.txt HTTP/1.1\r\nHost: [::1]:8642\r\nConnection: close\r\n\r\n", "HTTP/1.1 200"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CatalogService, AnswersPipelinedRequestsInOrderOnOneConnection)
{
    const QByteArray answer = rawExchange(fixture.service->port(),
        "GET /similar?artist=Muse&format=tagged HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"
        "HEAD /similar?artist=Nobody HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"
        "GET /version.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    const qsizetype muse = answer.indexOf("<r><a>Muse</a>");
    const qsizetype head = answer.indexOf("HTTP/1.1 200", muse);
    const qsizetype version = answer.indexOf(CORVALE_SERVICE_VERSION "|", head);
    EXPECT_EQ(answer.count("HTTP/1.1 200 OK"), 3) << answer.constData();
    EXPECT_TRUE(muse > 0 && head > muse && version > head) << answer.constData();
    EXPECT_FALSE(answer.contains("<a>Nobody</a>")) << "a HEAD answer has no body";
}

TEST_F(CatalogService, PicksListIsAPropertyListWhoseCoversAreServed)
{
    const HttpResult result = httpGet(fixture.manager, fixture.base() + QStringLiteral("/picks.plist"));
    ASSERT_EQ(result.status, 200);
    plist_t root = nullptr;
    plist_from_xml(result.body.constData(), uint32_t(result.body.size()), &root);
    ASSERT_NE(root, nullptr) << "libplist reads the list";
    const std::unique_ptr<void, decltype(&plist_free)> owner(root, &plist_free);
    const plist_t artists = plist_dict_get_item(root, "Artists");
    ASSERT_TRUE(artists && plist_get_node_type(artists) == PLIST_ARRAY);
    ASSERT_GE(plist_array_get_size(artists), 4u);
    auto text = [](plist_t pick, const char* key) {
        const plist_t node = plist_dict_get_item(pick, key);
        if (!node || plist_get_node_type(node) != PLIST_STRING)
            return QString();
        uint64_t length = 0;
        const char* value = plist_get_string_ptr(node, &length);
        return QString::fromUtf8(value, qsizetype(length));
    };
    QStringList artistNames;
    for (uint32_t i = 0; i < plist_array_get_size(artists); ++i) {
        const plist_t pick = plist_array_get_item(artists, i);
        ASSERT_EQ(plist_get_node_type(pick), PLIST_DICT);
        artistNames.append(text(pick, "Artist"));
        EXPECT_FALSE(text(pick, "Album").isEmpty());
        EXPECT_FALSE(text(pick, "Description").isEmpty());
        const QString image = text(pick, "Image");
        EXPECT_TRUE(image.startsWith(fixture.base() + QStringLiteral("/covers/"))) << qPrintable(image);
        const HttpResult cover = httpGet(fixture.manager, image);
        EXPECT_EQ(cover.status, 200) << qPrintable(image);
        EXPECT_FALSE(QImage::fromData(cover.body).isNull()) << qPrintable(image);
    }
    EXPECT_TRUE(artistNames.contains(QStringLiteral("Simon & Garfunkel"))) << "escaped on the way out, read back intact";
    EXPECT_TRUE(artistNames.contains(QStringLiteral("Björk")));
}

TEST_F(CatalogService, CoverAddressesNameTheServiceNeverTheHostTheClientSent)
{
    for (const QByteArray& host : {QByteArray("localhost:9999"), QByteArray("127.0.0.1:1")}) {
        const QByteArray answer = rawExchange(fixture.service->port(),
            "GET /picks.plist HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
        EXPECT_TRUE(answer.contains("<string>" + fixture.base().toUtf8() + "/covers/")) << answer.constData();
        EXPECT_FALSE(answer.contains(host)) << host.constData();
    }
}

TEST_F(CatalogService, AnswersAreWellFormedXmlWithNamesEscaped)
{
    const HttpResult result = fixture.similar(QStringLiteral("The Beatles"));
    ASSERT_EQ(result.status, 200);
    EXPECT_TRUE(isWellFormedAnswer(result.body, QStringLiteral("The Beatles"))) << result.body.constData();
    EXPECT_TRUE(result.body.contains("<a>Simon &amp; Garfunkel</a>")) << result.body.constData();
    EXPECT_TRUE(names(parseTaggedAnswer(result.body)).contains(QStringLiteral("Simon & Garfunkel"))) << "the app reads it back";

    const HttpResult picks = httpGet(fixture.manager, fixture.base() + QStringLiteral("/picks.plist"));
    QXmlStreamReader xml(picks.body);
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_TRUE(picks.body.contains("<string>Simon &amp; Garfunkel</string>"));
}

TEST_F(CatalogService, VersionFeedNamesThisBuild)
{
    const HttpResult result = httpGet(fixture.manager, fixture.base() + QStringLiteral("/version.txt"));
    ASSERT_EQ(result.status, 200);
    const QList<QByteArray> fields = result.body.split('|');
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0], CORVALE_SERVICE_VERSION);
    EXPECT_TRUE(QUrl(QString::fromUtf8(fields[1]), QUrl::StrictMode).isValid());
    EXPECT_TRUE(QUrl(QString::fromUtf8(fields[2]), QUrl::StrictMode).isValid());
    EXPECT_FALSE(fields[2].endsWith('\n')) << "the app keeps a line break as part of the field";
}

TEST(Catalog, ShippedDataReadsCleanlyAndCoversHundredsOfArtists)
{
    const CatalogProvider catalog;
    EXPECT_TRUE(catalog.problems().isEmpty()) << qPrintable(catalog.problems().join(u'\n'));
    EXPECT_GE(catalog.size(), 300);
    for (const CatalogProvider::Entry& entry : catalog.entries()) {
        EXPECT_GE(entry.similar.size(), 8) << qPrintable(entry.name);
        EXPECT_TRUE(ProviderRegistry::isSendableName(entry.name)) << qPrintable(entry.name);
        EXPECT_TRUE(entry.popularity >= 0 && entry.popularity <= 100) << qPrintable(entry.name);
        QStringList seen;
        for (const SimilarArtist& similar : entry.similar) {
            EXPECT_TRUE(ProviderRegistry::isSendableName(similar.name)) << qPrintable(similar.name);
            EXPECT_TRUE(similar.rating > 0 && similar.rating <= 100) << qPrintable(QString(entry.name + QStringLiteral(" → ") + similar.name));
            EXPECT_NE(foldArtistName(similar.name), foldArtistName(entry.name)) << qPrintable(entry.name);
            EXPECT_FALSE(seen.contains(foldArtistName(similar.name))) << qPrintable(QString(entry.name + QStringLiteral(" → ") + similar.name));
            seen.append(foldArtistName(similar.name));
        }
    }
}

TEST(Catalog, ReportsLinesItCannotRead)
{
    const CatalogProvider catalog(QByteArray("# comment\n"
                                             "Good | 80 | Other 90; Third 70\n"
                                             "No popularity | high | Other 90\n"
                                             "Two fields | 50\n"
                                             "Scoreless | 50 | Other; Fine 60\n"
                                             "good | 10 | Other 20\n"),
                                  nullptr);
    EXPECT_EQ(catalog.size(), 2);
    EXPECT_EQ(catalog.problems().size(), 4) << qPrintable(catalog.problems().join(u'\n'));
    ASSERT_NE(catalog.find(QStringLiteral("Scoreless")), nullptr);
    EXPECT_EQ(catalog.find(QStringLiteral("Scoreless"))->similar.size(), 1);
    EXPECT_EQ(catalog.find(QStringLiteral("GOOD"))->popularity, 80) << "the first of two equal names stays";
}

TEST_F(CatalogService, BannerFrameShowsPicksOrSimilarArtistsAsLookupLinks)
{
    const QString frame = fixture.base() + "/e/cm?t=quorvix&l=st1&p=13&o=1&bg1=0000000&fc1=ffffff&lc1=7BC618&f=ifr";
    // An artist with picks: the cover from this service and the album.
    HttpResult result = httpGet(fixture.manager, frame + "&search=Simon%20%26%20Garfunkel&mode=music");
    ASSERT_EQ(result.status, 200);
    EXPECT_EQ(result.contentType, "text/html; charset=utf-8");
    EXPECT_TRUE(result.body.contains("<img src=\"/covers/bridge-over-troubled-water.png\""));
    EXPECT_TRUE(result.body.contains("Bridge over Troubled Water"));
    EXPECT_TRUE(result.body.contains("href=\"corvale:Simon%20%26%20Garfunkel\">Simon &amp; Garfunkel</a>")) << result.body.constData();

    // Without picks: the three best similar artists as corvale: links.
    result = httpGet(fixture.manager, frame + "&search=Massive%20Attack&mode=music");
    ASSERT_EQ(result.status, 200);
    const QList<TaggedRecord> similar = parseTaggedAnswer(fixture.similar("Massive Attack").body);
    ASSERT_GE(similar.size(), 3);
    EXPECT_TRUE(result.body.contains("Similar to Massive Attack: "));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(result.body.contains(QUrl::toPercentEncoding(similar[i].name))) << similar[i].name.toStdString();
    EXPECT_EQ(result.body.count("href=\"corvale:"), 3);
    EXPECT_FALSE(result.body.contains("<script"));

    // The default page, and names that are no names, get the welcome.
    for (const char* query : {"&search=ipod&mode=electronics", "&mode=music", "&search=%3Cb%3E&mode=music"}) {
        result = httpGet(fixture.manager, frame + query);
        EXPECT_EQ(result.status, 200) << query;
        EXPECT_TRUE(result.body.contains("name an artist you like")) << query;
    }
}
