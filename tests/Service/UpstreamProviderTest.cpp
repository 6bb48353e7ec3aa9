// SPDX-License-Identifier: GPL-3.0-or-later
// Lookups through ListenBrainz and Last.fm, played by a local server with recorded answers:
// the scaling of their scores, their failures, the cache and answering while they are slow.
#include "ServiceTestSupport.h"

#include "Service/AnswerCache.h"
#include "Service/ProviderRegistry.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

const QList<TaggedRecord> portisheadSimilar{
    {QStringLiteral("Massive Attack"), 100, 100},
    {QStringLiteral("Tricky"), 75, 100},
    {QStringLiteral("Beth Gibbons"), 50, 100},
};

// MusicBrainz and ListenBrainz as they answer for Portishead; everything else is not found.
HttpReply goodUpstream(const HttpRequest& request)
{
    if (request.path == QLatin1String("/ws/2/artist/"))
        return HttpReply::body(request.target.contains("Portishead") ? Upstream::musicBrainzPortishead
                                                                      : QByteArray(R"({"count":0,"artists":[]})"),
                               200, "application/json");
    if (request.path == QLatin1String("/labs/similar-artists/json"))
        return HttpReply::body(Upstream::listenBrainzPortishead, 200, "application/json");
    return HttpReply::body("not here", 404);
}

class ListenBrainz : public ::testing::Test {
protected:
    void SetUp() override { fixture.upstream.setHandler(goodUpstream); }
    ServiceFixture fixture;
};

} // namespace

TEST_F(ListenBrainz, MatchesTheNameThenScalesSimilarScoresByTheTopScore)
{
    fixture.start(QStringLiteral("listenbrainz"));
    const HttpResult result = fixture.similar(QStringLiteral("Portishead"));
    ASSERT_EQ(result.status, 200);
    EXPECT_EQ(result.source, "listenbrainz");
    EXPECT_TRUE(isWellFormedAnswer(result.body, QStringLiteral("Portishead"))) << result.body.constData();
    EXPECT_EQ(parseTaggedAnswer(result.body), portisheadSimilar)
        << "self, markup, wrong types and unreadable scores are left out" << result.body.constData();

    const QList<QByteArray> targets = fixture.upstream.requestTargets();
    ASSERT_EQ(targets.size(), 2);
    EXPECT_TRUE(targets[0].startsWith("/ws/2/artist/?query=artist%3A%22Portishead%22&fmt=json")) << targets[0].constData();
    EXPECT_EQ(targets[1], "/labs/similar-artists/json?artist_mbids=" + Upstream::portisheadMbid.toLatin1()
                              + "&algorithm=" + fixture.config.listenBrainzAlgorithm.toLatin1());
}

TEST_F(ListenBrainz, SendsARealUserAgentAndEncodesNamesFully)
{
    QByteArray headers;
    fixture.upstream.setHandler([&](const HttpRequest& request) {
        headers = request.headers;
        return HttpReply::body(R"({"artists":[]})", 200, "application/json");
    });
    fixture.start(QStringLiteral("listenbrainz"));
    const HttpResult result = fixture.similar(QStringLiteral("Simon + \"Garfunkel\" & Co"));
    EXPECT_EQ(result.status, 200);
    EXPECT_TRUE(headers.contains("User-Agent: corvale-service/test ( tests@corvale.invalid )")) << headers.constData();
    ASSERT_EQ(fixture.upstream.requestCount(), 1);
    EXPECT_TRUE(fixture.upstream.requestTargets()[0].startsWith(
        "/ws/2/artist/?query=artist%3A%22Simon%20%2B%20%5C%22Garfunkel%5C%22%20%26%20Co%22&"))
        << fixture.upstream.requestTargets()[0].constData();
}

TEST_F(ListenBrainz, AWeakMatchIsNoMatchAndTheNextProviderAnswers)
{
    fixture.upstream.setHandler([](const HttpRequest&) {
        return HttpReply::body(Upstream::musicBrainzWeak, 200, "application/json");
    });
    fixture.start(QStringLiteral("listenbrainz,catalog"));
    EXPECT_EQ(fixture.similar(QStringLiteral("Portishead")).source, "catalog");
    const HttpResult unknown = fixture.similar(QStringLiteral("Portis Head"));
    EXPECT_EQ(unknown.status, 200);
    EXPECT_TRUE(parseTaggedAnswer(unknown.body).isEmpty());
    EXPECT_EQ(fixture.upstreamRequests("/labs/"), 0);
}

struct FailureCase {
    const char* label;
    HttpReply musicBrainz;
    HttpReply listenBrainz;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

HttpReply json(const QByteArray& body, int status = 200) { return HttpReply::body(body, status, "application/json"); }

HttpReply silent()
{
    HttpReply reply;
    reply.neverAnswer = true;
    return reply;
}

HttpReply cutShort()
{
    HttpReply reply = json(Upstream::listenBrainzPortishead.left(200));
    reply.closeBeforeEnd = true;
    return reply;
}

class UpstreamFailure : public ListenBrainz, public ::testing::WithParamInterface<FailureCase> {};

// Every failure gives a valid answer with only the asked artist and a 503, nothing is cached,
// and once the upstream is well again the real answer comes through.
TEST_P(UpstreamFailure, GivesAnEmptyAnswerCachesNothingAndRecovers)
{
    const FailureCase& c = GetParam();
    fixture.config.upstreamTimeoutMs = 400;
    fixture.upstream.setHandler([&c](const HttpRequest& request) {
        return request.path.startsWith(QLatin1String("/ws/")) ? c.musicBrainz : c.listenBrainz;
    });
    fixture.start(QStringLiteral("listenbrainz"));

    const HttpResult failed = fixture.similar(QStringLiteral("Portishead"));
    EXPECT_EQ(failed.status, 503);
    EXPECT_TRUE(isWellFormedAnswer(failed.body, QStringLiteral("Portishead"))) << failed.body.constData();
    EXPECT_TRUE(parseTaggedAnswer(failed.body).isEmpty());

    fixture.upstream.setHandler(goodUpstream);
    waitUntil([] { return false; }, 1100); // a rate-limit answer makes MusicBrainz searches wait a second
    const HttpResult recovered = fixture.similar(QStringLiteral("Portishead"));
    EXPECT_EQ(recovered.source, "listenbrainz");
    EXPECT_EQ(parseTaggedAnswer(recovered.body), portisheadSimilar);
}

INSTANTIATE_TEST_SUITE_P(Answers, UpstreamFailure, ::testing::Values(
    FailureCase{"MusicBrainzUnavailable", HttpReply::body("<html>503 Service Unavailable</html>", 503, "text/html"), json("[]")},
    FailureCase{"MusicBrainzRateLimited", json(R"({"error":"Your requests are exceeding the allowable rate limit."})", 429), json("[]")},
    FailureCase{"MusicBrainzMalformed", json(R"({"artists": [{"id": "8f6b)"), json("[]")},
    FailureCase{"MusicBrainzWrongType", json(R"({"artists": "Portishead"})"), json("[]")},
    FailureCase{"MusicBrainzNotJson", HttpReply::body("<html>maintenance</html>", 200, "text/html"), json("[]")},
    FailureCase{"MusicBrainzSilent", silent(), json("[]")},
    FailureCase{"ListenBrainzUnavailable", json(Upstream::musicBrainzPortishead), HttpReply::body("busy", 503)},
    FailureCase{"ListenBrainzRateLimited", json(Upstream::musicBrainzPortishead), json(R"({"code":429,"error":"Too Many Requests"})", 429)},
    FailureCase{"ListenBrainzMalformed", json(Upstream::musicBrainzPortishead), json(R"([{"name": "Massive Attack", "score": )")},
    FailureCase{"ListenBrainzObject", json(Upstream::musicBrainzPortishead), json(R"({"name": "Massive Attack", "score": 3})")},
    FailureCase{"ListenBrainzRowsOfWrongTypes", json(Upstream::musicBrainzPortishead), json(R"([{"name": 7, "score": "x"}, {"name": ["a"]}])")},
    FailureCase{"ListenBrainzCutShort", json(Upstream::musicBrainzPortishead), cutShort()},
    FailureCase{"ListenBrainzSilent", json(Upstream::musicBrainzPortishead), silent()}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ListenBrainz, AFreshCachedAnswerIsServedWithoutAskingUpstream)
{
    fixture.start(QStringLiteral("listenbrainz"));
    const HttpResult first = fixture.similar(QStringLiteral("Portishead"));
    const int asked = fixture.upstream.requestCount();
    const HttpResult second = fixture.similar(QStringLiteral("PORTISHEAD"));
    EXPECT_EQ(second.source, "cache");
    EXPECT_EQ(fixture.upstream.requestCount(), asked);
    EXPECT_EQ(parseTaggedAnswer(second.body), parseTaggedAnswer(first.body));
    EXPECT_TRUE(isWellFormedAnswer(second.body, QStringLiteral("PORTISHEAD"))) << "the first record is the name asked";
}

TEST_F(ListenBrainz, AnAnswerThatWorkedOnceStillWorksOfflineAfterARestart)
{
    fixture.start(QStringLiteral("listenbrainz"));
    ASSERT_EQ(parseTaggedAnswer(fixture.similar(QStringLiteral("Portishead")).body), portisheadSimilar);
    fixture.stop();

    // Now every upstream is down and the answer is past its freshness.
    fixture.upstream.setHandler([](const HttpRequest&) { return HttpReply::body("down", 503); });
    fixture.config.cacheMaxAgeSeconds = 0;
    fixture.start(QStringLiteral("listenbrainz"));
    const HttpResult offline = fixture.similar(QStringLiteral("portishead"));
    EXPECT_EQ(offline.status, 200);
    EXPECT_EQ(offline.source, "stale");
    EXPECT_EQ(parseTaggedAnswer(offline.body), portisheadSimilar);
    EXPECT_GE(fixture.upstream.requestCount(), 3) << "upstream was asked before the stale answer was used";
}

TEST_F(ListenBrainz, KeepsAnsweringOtherClientsWhileAnUpstreamIsSlow)
{
    fixture.config.upstreamTimeoutMs = 1500;
    fixture.upstream.setHandler([](const HttpRequest&) { return silent(); });
    fixture.start(QStringLiteral("catalog,listenbrainz"));

    PendingGet slow(fixture.manager, similarUrl(fixture.base(), QStringLiteral("Portishead Tribute Band")));
    // A client that gives up while its lookup is still running.
    QTcpSocket impatient;
    impatient.connectToHost(QHostAddress::LocalHost, fixture.service->port());
    ASSERT_TRUE(impatient.waitForConnected(1000));
    impatient.write("GET /similar?artist=Another%20Unknown HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    waitUntil([] { return false; }, 100);
    impatient.abort();

    QElapsedTimer clock;
    clock.start();
    const HttpResult quick = fixture.similar(QStringLiteral("Radiohead"));
    EXPECT_EQ(quick.status, 200);
    EXPECT_FALSE(slow.done()) << "answered while the other lookup waits for its upstream";
    EXPECT_LT(clock.elapsed(), 1000);

    ASSERT_TRUE(waitUntil([&] { return slow.done(); }, 5000));
    EXPECT_EQ(slow.result().status, 503);
    EXPECT_TRUE(isWellFormedAnswer(slow.result().body, QStringLiteral("Portishead Tribute Band")));
    waitUntil([] { return false; }, 1700); // the abandoned lookup times out too
    EXPECT_EQ(fixture.similar(QStringLiteral("Muse")).status, 200);
}

TEST_F(ListenBrainz, SpacesMusicBrainzSearchesAndSharesOverlappingLookups)
{
    fixture.config.musicBrainzIntervalMs = 300;
    QList<qint64> searchTimes;
    QElapsedTimer clock;
    clock.start();
    fixture.upstream.setHandler([&](const HttpRequest& request) {
        if (request.path.startsWith(QLatin1String("/ws/")))
            searchTimes.append(clock.elapsed());
        return goodUpstream(request);
    });
    fixture.start(QStringLiteral("listenbrainz"));

    std::vector<std::unique_ptr<PendingGet>> gets;
    for (const char* name : {"Portishead", "portishead", "Portishead", "Unknown One", "Unknown Two"})
        gets.push_back(std::make_unique<PendingGet>(fixture.manager, similarUrl(fixture.base(), QString::fromUtf8(name))));
    ASSERT_TRUE(waitUntil([&] { return std::all_of(gets.begin(), gets.end(), [](const auto& g) { return g->done(); }); }, 5000));

    ASSERT_EQ(searchTimes.size(), 3) << "one search per distinct name";
    for (qsizetype i = 1; i < searchTimes.size(); ++i)
        EXPECT_GE(searchTimes[i] - searchTimes[i - 1], 250) << "search " << i;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(parseTaggedAnswer(gets[i]->result().body), portisheadSimilar) << i;
}

struct LastFmCase {
    const char* label;
    HttpReply reply;
    const char* source;  // who answered "Madonna": lastfm or catalog
    bool askedAgain;     // whether the next lookup goes to Last.fm again
};

void PrintTo(const LastFmCase& c, std::ostream* os) { *os << c.label; }

class LastFm : public ::testing::TestWithParam<LastFmCase> {
protected:
    ServiceFixture fixture;
};

TEST_P(LastFm, ErrorsFallThroughToTheNextProviderAndKeyErrorsSwitchItOff)
{
    const LastFmCase& c = GetParam();
    fixture.upstream.setHandler([&c](const HttpRequest&) { return c.reply; });
    fixture.start(QStringLiteral("lastfm,catalog"));

    const HttpResult result = fixture.similar(QStringLiteral("Madonna"));
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.source, c.source);
    EXPECT_FALSE(parseTaggedAnswer(result.body).isEmpty());
    const QByteArray target = fixture.upstream.requestTargets().value(0);
    EXPECT_TRUE(target.startsWith("/2.0/?method=artist.getsimilar&artist=Madonna&api_key=test-key&")) << target.constData();

    fixture.similar(QStringLiteral("Prince"));
    EXPECT_EQ(fixture.upstream.requestCount(), c.askedAgain ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, LastFm, ::testing::Values(
    LastFmCase{"Similar", json(Upstream::lastFmCher), "lastfm", true},
    LastFmCase{"ArtistNotFound", json(Upstream::lastFmError(6, "The artist you supplied could not be found"), 400), "catalog", true},
    LastFmCase{"InvalidApiKey", json(Upstream::lastFmError(10, "Invalid API key - You must be granted a valid key by last.fm"), 403), "catalog", false},
    LastFmCase{"SuspendedApiKey", json(Upstream::lastFmError(26, "Suspended API key"), 403), "catalog", false},
    LastFmCase{"RateLimitExceeded", json(Upstream::lastFmError(29, "Rate limit exceeded"), 429), "catalog", false},
    LastFmCase{"TooManyRequestsPage", HttpReply::body("slow down", 429, "text/html"), "catalog", false},
    LastFmCase{"ServiceUnavailable", HttpReply::body("<html>503</html>", 503, "text/html"), "catalog", true},
    LastFmCase{"OperationFailed", json(Upstream::lastFmError(8, "Operation failed"), 500), "catalog", true},
    LastFmCase{"NoList", json(R"({"similarartists": {"@attr": {"artist": "Madonna"}}})"), "catalog", true},
    LastFmCase{"NumbersAsText", json(R"({"similarartists": {"artist": [{"name": 5, "match": "1"}]}})"), "catalog", true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LastFmAnswer, MatchesBecomeRatingsOnAHundredScale)
{
    ServiceFixture fixture;
    fixture.upstream.setHandler([](const HttpRequest&) { return json(Upstream::lastFmCher); });
    fixture.start(QStringLiteral("lastfm"));
    const HttpResult result = fixture.similar(QStringLiteral("Cher"));
    EXPECT_EQ(result.source, "lastfm");
    EXPECT_TRUE(isWellFormedAnswer(result.body, QStringLiteral("Cher"))) << result.body.constData();
    EXPECT_EQ(parseTaggedAnswer(result.body), (QList<TaggedRecord>{{QStringLiteral("Sonny & Cher"), 100, 100},
                                                                   {QStringLiteral("Kylie Minogue"), 65.4f, 65.4f},
                                                                   {QStringLiteral("Madonna"), 50, 50}}));
}

TEST_F(ListenBrainz, AnUpstreamThatTricklesIsCutAtTheDeadline)
{
    fixture.config.upstreamTimeoutMs = 600;
    fixture.upstream.setHandler([](const HttpRequest&) {
        HttpReply reply = json(QByteArray());
        reply.pieces.clear();
        for (const char c : Upstream::musicBrainzPortishead.left(30))
            reply.pieces.append(QByteArray(1, c)); // one byte every 100 ms: 3 s in all
        reply.pieceDelayMs = 100;
        return reply;
    });
    fixture.start(QStringLiteral("listenbrainz"));
    QElapsedTimer clock;
    clock.start();
    const HttpResult result = fixture.similar(QStringLiteral("Portishead"));
    EXPECT_EQ(result.status, 503);
    EXPECT_LT(clock.elapsed(), 2000) << "each byte must not restart the time-out";
}

TEST_F(ListenBrainz, RedirectsAreFollowedOnlyToTheSameHostOverHttps)
{
    const QString elsewhere = QStringLiteral("http://localhost:%1/ws/2/artist/?moved=1").arg(fixture.upstream.port());
    const QString plainHttp = fixture.upstream.baseUrl() + QStringLiteral("/ws/2/artist/?moved=2");
    for (const QString& target : {elsewhere, plainHttp}) {
        ServiceFixture local;
        local.upstream.setHandler([&](const HttpRequest& request) {
            if (request.target.contains("moved="))
                return goodUpstream(request);
            HttpReply reply = HttpReply::body("moved", 302);
            reply.headers.append({"Location", target.toUtf8()});
            return reply;
        });
        local.start(QStringLiteral("listenbrainz,catalog"));
        const HttpResult result = local.similar(QStringLiteral("Portishead"));
        EXPECT_EQ(result.source, "catalog") << qPrintable(target);
        EXPECT_EQ(local.upstream.requestCount(), 1) << "the redirect was not followed: " << qPrintable(target);
    }
}

TEST_F(ListenBrainz, ACachedAnswerDatedInTheFutureIsStale)
{
    {
        AnswerCache cache(fixture.config.cachePath);
        cache.store({QStringLiteral("Portishead"), QStringLiteral("listenbrainz"),
                     QDateTime::currentDateTimeUtc().addDays(400), 50, {{QStringLiteral("From The Future"), 90, 50}}});
    }
    fixture.start(QStringLiteral("listenbrainz"));
    const HttpResult result = fixture.similar(QStringLiteral("Portishead"));
    EXPECT_EQ(result.source, "listenbrainz");
    EXPECT_EQ(parseTaggedAnswer(result.body), portisheadSimilar);
}

TEST(UpstreamNames, AreKeptWhenXmlCanCarryThemAndShortEnough)
{
    const QString highAlone(QChar(0xD842));
    const QString lowAlone(QChar(0xDFB7));
    const struct {
        QString name;
        bool kept;
    } cases[] = {
        {QStringLiteral("\U00020BB7\u7530"), true}, // a CJK name outside the Basic Multilingual Plane
        {QStringLiteral("Sigur R\u00f3s \U0001F3B5"), true},
        {QString(ProviderRegistry::maxNameLength, QLatin1Char('a')), true},
        {QString(ProviderRegistry::maxNameLength + 1, QLatin1Char('b')), false},
        {QStringLiteral("Half ") + highAlone + QStringLiteral(" pair"), false},
        {lowAlone + QStringLiteral("Backwards") + highAlone, false},
        {QStringLiteral("Ends with ") + highAlone, false},
        {QStringLiteral("Non\uFFFEcharacter"), false},
        {QStringLiteral("Bell\u0007"), false},
        {QStringLiteral("Broken \uFFFD"), false},
        {QStringLiteral("<b>Markup</b>"), false},
    };
    SimilarArtistList input;
    for (const auto& c : cases)
        input.append({c.name, 50, 50});
    const SimilarArtistList cleaned = ProviderRegistry::cleaned(input, QStringLiteral("Asked"));
    QStringList kept;
    for (const SimilarArtist& artist : cleaned)
        kept.append(artist.name);
    for (const auto& c : cases)
        EXPECT_EQ(kept.contains(c.name), c.kept) << qPrintable(c.name.left(40));
}
