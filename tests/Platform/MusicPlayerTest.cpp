// SPDX-License-Identifier: GPL-3.0-or-later
// The music-player bridge against real MPRIS players (test-mpris-player processes) on a
// D-Bus session bus private to each test process.
#include "Platform/MusicPlayer.h"
#include "support/MprisPlayerProcess.h"
#include "support/PrivateSessionBus.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <memory>
#include <vector>

// Found by argument-dependent lookup, so it must share PlayerAnswer's (global) namespace.
static std::ostream& operator<<(std::ostream& out, const PlayerAnswer& answer)
{
    return out << "{isRunning " << answer.isRunning << ", artist "
               << (answer.artist ? '"' + answer.artist->toStdString() + '"' : std::string("none"))
               << ", error \"" << answer.errorText.toStdString() << "\"}";
}

namespace {

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.isRunning()) << bus.errorText().toStdString(); }

    MprisPlayerProcess& startPlayer(const QStringList& arguments)
    {
        players.push_back(std::make_unique<MprisPlayerProcess>(arguments));
        EXPECT_TRUE(players.back()->isReady()) << arguments.join(' ').toStdString();
        return *players.back();
    }

    // One query, waited for; counts the calls of `done` in `calls`.
    PlayerAnswer query(const QString& followedIdentity = {})
    {
        MusicPlayer player(bus.connection());
        QObject context;
        std::optional<PlayerAnswer> answer;
        calls = 0;
        player.queryCurrentArtist(followedIdentity, &context, [&](const PlayerAnswer& a) {
            answer = a;
            ++calls;
        });
        EXPECT_TRUE(waitUntil([&] { return answer.has_value(); }, 3000)) << "no answer";
        return answer.value_or(PlayerAnswer{});
    }

    static void expectArtist(const PlayerAnswer& answer, const QString& artist)
    {
        EXPECT_TRUE(answer.isRunning) << answer;
        EXPECT_EQ(answer.artist, std::optional<QString>(artist)) << answer;
        EXPECT_TRUE(answer.errorText.isEmpty()) << answer;
    }

    static void expectNoPlayer(const PlayerAnswer& answer)
    {
        EXPECT_FALSE(answer.isRunning) << answer;
        EXPECT_FALSE(answer.artist) << answer;
    }

    PrivateSessionBus bus;
    std::vector<std::unique_ptr<MprisPlayerProcess>> players; // stopped before the bus
    int calls = 0;
};

TEST_F(MusicPlayerTest, NoPlayerOnTheBusIsNotRunning)
{
    const PlayerAnswer answer = query();
    expectNoPlayer(answer);
    EXPECT_TRUE(answer.errorText.isEmpty()) << answer;
}

TEST_F(MusicPlayerTest, PlayingPlayerGivesItsMainArtist)
{
    startPlayer({"--name", "mpv", "--artist", "Massive Attack feat. Elizabeth Fraser"});
    expectArtist(query(), "Massive Attack");
}

TEST_F(MusicPlayerTest, PlayingPlayerIsPreferredOverEarlierPausedOnes)
{
    startPlayer({"--name", "aaa", "--status", "Paused", "--artist", "Paused One"});
    startPlayer({"--name", "bbb", "--status", "Stopped", "--artist", "Stopped One"});
    startPlayer({"--name", "ccc", "--status", "Playing", "--artist", "Playing One"});
    startPlayer({"--name", "ddd", "--status", "Playing", "--artist", "Later Playing One"});
    expectArtist(query(), "Playing One");
}

TEST_F(MusicPlayerTest, WithoutAPlayingPlayerTheFirstInBusNameOrderCounts)
{
    startPlayer({"--name", "zed", "--status", "Paused", "--artist", "Zed Artist"});
    startPlayer({"--name", "abc", "--status", "Stopped", "--artist", "Abc Artist"});
    expectArtist(query(), "Abc Artist");
}

TEST_F(MusicPlayerTest, FollowedIdentityChoosesThePlayerAndIsExact)
{
    startPlayer({"--name", "alpha", "--identity", "Alpha Player", "--artist", "Alpha Artist"});
    startPlayer({"--name", "beta", "--identity", "Beta Player", "--status", "Paused", "--artist", "Beta Artist"});
    expectArtist(query("Beta Player"), "Beta Artist");
    expectNoPlayer(query("beta player"));
    expectNoPlayer(query("Beta"));
    expectNoPlayer(query("Gamma Player"));
    expectArtist(query(""), "Alpha Artist"); // empty: not following anyone
}

TEST_F(MusicPlayerTest, BrowserCountsOnlyWhenNoOtherPlayerIsThere)
{
    auto& browser = startPlayer({"--name", "firefox.instance_1_42", "--identity", "Mozilla Firefox",
                                 "--artist", "Browser Artist"});
    expectArtist(query(), "Browser Artist");

    startPlayer({"--name", "vlc", "--status", "Paused", "--artist", "Local Artist"});
    expectArtist(query(), "Local Artist"); // even though only the browser plays

    // Following the browser by its identity is the user's explicit choice.
    expectArtist(query("Mozilla Firefox"), "Browser Artist");
    ASSERT_TRUE(browser.send("artist Other Browser Artist"));
    expectArtist(query("Mozilla Firefox"), "Other Browser Artist");
}

TEST_F(MusicPlayerTest, ChangesOfThePlayerAreSeenOnTheNextQuery)
{
    auto& first = startPlayer({"--name", "one", "--status", "Paused", "--artist", "Air"});
    auto& second = startPlayer({"--name", "two", "--status", "Paused", "--artist", "Bonobo"});
    expectArtist(query(), "Air");

    ASSERT_TRUE(first.send("artist Portishead"));
    expectArtist(query(), "Portishead");

    ASSERT_TRUE(second.send("status Playing"));
    expectArtist(query(), "Bonobo");

    ASSERT_TRUE(second.send("artist"));
    const PlayerAnswer noArtist = query();
    EXPECT_TRUE(noArtist.isRunning) << noArtist;
    EXPECT_FALSE(noArtist.artist) << noArtist;
    EXPECT_TRUE(noArtist.errorText.contains("no artist")) << noArtist;
}

// Metadata as players send it, and what the query makes of it.
struct MetadataCase {
    const char* name;
    QStringList options;
    std::optional<QString> artist; // none: an error naming the reason
    const char* reason;

    friend void PrintTo(const MetadataCase& c, std::ostream* out) { *out << c.name; }
};

class MusicPlayerMetadataTest : public MusicPlayerTest, public ::testing::WithParamInterface<MetadataCase> {};

TEST_P(MusicPlayerMetadataTest, ArtistOrError)
{
    const MetadataCase& c = GetParam();
    startPlayer(QStringList{"--name", "player"} + c.options);
    const PlayerAnswer answer = query();
    EXPECT_TRUE(answer.isRunning) << answer;
    EXPECT_EQ(answer.artist, c.artist) << answer;
    if (c.artist) {
        EXPECT_TRUE(answer.errorText.isEmpty()) << answer;
    } else {
        EXPECT_TRUE(answer.errorText.contains(c.reason)) << answer;
        EXPECT_TRUE(answer.errorText.contains("org.mpris.MediaPlayer2.player")) << answer;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Metadata, MusicPlayerMetadataTest,
    ::testing::Values(
        MetadataCase{"FirstOfSeveralArtists", {"--artist", "Simon", "--artist", "Garfunkel"}, "Simon", ""},
        MetadataCase{"PlainStringArtist", {"--plain-string-artist", "--artist", "Björk ft. Thom Yorke"}, "Björk", ""},
        MetadataCase{"NoTrack", {"--no-metadata", "--artist", "Ghost"}, std::nullopt, "no current track"},
        MetadataCase{"TrackWithoutArtist", {}, std::nullopt, "no artist"},
        MetadataCase{"EmptyArtist", {"--artist", ""}, std::nullopt, "no artist"},
        MetadataCase{"BlankPlainStringArtist", {"--plain-string-artist", "--artist", "  "}, std::nullopt, "no artist"}),
    [](const ::testing::TestParamInfo<MetadataCase>& info) { return std::string(info.param.name); });

TEST_F(MusicPlayerTest, HungPlayerAnswersWithAnErrorByTheDeadlineAndOnlyOnce)
{
    startPlayer({"--name", "stuck", "--hang", "--artist", "Never Told"});
    MusicPlayer player(bus.connection());
    QObject context;
    std::optional<PlayerAnswer> answer;
    int count = 0;
    player.queryCurrentArtist({}, &context, [&](const PlayerAnswer& a) {
        answer = a;
        ++count;
    });
    EXPECT_FALSE(answer) << "answered inside the call";
    // Not a timing measurement: without its own deadline the query would wait for D-Bus's 25 s.
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }, 2000));
    EXPECT_TRUE(answer->isRunning) << *answer;
    EXPECT_FALSE(answer->artist) << *answer;
    EXPECT_TRUE(answer->errorText.contains("org.mpris.MediaPlayer2.stuck")) << *answer;
    spinEventLoop(300);
    EXPECT_EQ(count, 1);
}

TEST_F(MusicPlayerTest, HungPlayerThatDoesNotCountDisturbsNothing)
{
    startPlayer({"--name", "aaa", "--hang", "--status", "Paused"});
    startPlayer({"--name", "bbb", "--identity", "Bee", "--artist", "Bee Artist"});
    expectArtist(query(), "Bee Artist");
    expectArtist(query("Bee"), "Bee Artist");
}

TEST_F(MusicPlayerTest, NoAnswerOnceTheContextIsDestroyed)
{
    startPlayer({"--name", "stuck", "--hang"});
    startPlayer({"--name", "fine", "--identity", "Fine", "--artist", "Answer"});
    MusicPlayer player(bus.connection());
    int count = 0;
    for (const QString& followed : {QString(), QStringLiteral("Fine")}) {
        auto context = std::make_unique<QObject>();
        player.queryCurrentArtist(followed, context.get(), [&](const PlayerAnswer&) { ++count; });
        context.reset();
    }
    spinEventLoop(MusicPlayer::deadlineMs + 300);
    EXPECT_EQ(count, 0);

    // A context destroyed by the answer itself is fine too.
    auto context = std::make_unique<QObject>();
    std::optional<PlayerAnswer> answer;
    player.queryCurrentArtist("Fine", context.get(), [&](const PlayerAnswer& a) {
        answer = a;
        context.reset();
    });
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }, 2000));
    expectArtist(*answer, "Answer");
    spinEventLoop(50);
}

TEST_F(MusicPlayerTest, DisconnectedBusAnswersLaterWithAnError)
{
    MusicPlayer player(QDBusConnection(QStringLiteral("no such connection")));
    std::optional<PlayerAnswer> answer;
    player.queryCurrentArtist({}, nullptr, [&](const PlayerAnswer& a) { answer = a; });
    EXPECT_FALSE(answer) << "answered inside the call";
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }, 2000));
    EXPECT_FALSE(answer->isRunning);
    EXPECT_FALSE(answer->errorText.isEmpty());
}

TEST(MusicPlayerMainArtist, CutsBeforeAFeaturingCredit)
{
    const std::pair<QString, QString> cases[] = {
        {"Pink Floyd", "Pink Floyd"},
        {"Jay-Z feat. Beyoncé", "Jay-Z"},
        {"Gorillaz ft. De La Soul", "Gorillaz"},
        {"Santana featuring Rob Thomas", "Santana"},
        {"Santana FEATURING Rob Thomas", "Santana"},
        {"Calvin Harris Feat. Rihanna", "Calvin Harris"},
        {"Mark Ronson  ft.  Bruno Mars", "Mark Ronson"},
        {"Eminem (feat. Dido)", "Eminem"},
        {"Eminem [Ft. Dido]", "Eminem"},
        {"A feat. B feat. C", "A"},
        {"  Air  ", "Air"},
        {"Featuring Nobody", "Featuring Nobody"}, // no credit before the word
        {"Daft Punk", "Daft Punk"},
        {"Left.ft.Right", "Left.ft.Right"},
        {"The Featherweights", "The Featherweights"},
        {"Soft Cell", "Soft Cell"},
        {"", ""},
    };
    for (const auto& [credit, main] : cases)
        EXPECT_EQ(MusicPlayer::mainArtist(credit), main) << credit.toStdString();
}

TEST(MusicPlayerBrowsers, AreRecognisedByBusName)
{
    const std::pair<const char*, bool> cases[] = {
        {"org.mpris.MediaPlayer2.firefox.instance_1_42", true},
        {"org.mpris.MediaPlayer2.chromium.instance1234", true},
        {"org.mpris.MediaPlayer2.chrome.instance99", true},
        {"org.mpris.MediaPlayer2.brave.instance7", true},
        {"org.mpris.MediaPlayer2.mpv", false},
        {"org.mpris.MediaPlayer2.vlc", false},
        {"org.mpris.MediaPlayer2.spotify", false},
    };
    for (const auto& [name, browser] : cases)
        EXPECT_EQ(MusicPlayer::isBrowserBusName(QString::fromLatin1(name)), browser) << name;
}

} // namespace
