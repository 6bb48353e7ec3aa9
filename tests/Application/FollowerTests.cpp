// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdView.h"
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/MainNode.h"
#include "Application/iTunesNode.h"
#include "Platform/MusicPlayer.h"

#include "ApplicationTestSupport.h"
#include "support/MprisPlayerProcess.h"
#include "support/PrivateSessionBus.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

QStringList logged;
void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    logged.append(message);
}

// A private bus first (before anything touches the session bus), then the service, then
// whatever players a test starts, then the browser whose follower polls them.
struct FollowerFixture : ::testing::Test {
    PrivateSessionBus bus;
    SimilarArtistServer server;
    std::vector<std::unique_ptr<MprisPlayerProcess>> players;
    std::unique_ptr<AdView> banner = std::make_unique<AdView>();
    std::unique_ptr<BrowserView> browser;

    void SetUp() override { ASSERT_TRUE(bus.isRunning()) << bus.errorText().toStdString(); }

    MprisPlayerProcess& startPlayer(const QStringList& arguments)
    {
        players.push_back(std::make_unique<MprisPlayerProcess>(arguments));
        EXPECT_TRUE(players.back()->isReady());
        return *players.back();
    }
    void startBrowser() { browser = std::make_unique<BrowserView>(); }
    std::shared_ptr<iTunesNode> follower() const { return std::dynamic_pointer_cast<iTunesNode>(browser->rootNode()->nodes().at(1)); }
};

} // namespace

TEST_F(FollowerFixture, WithoutAPlayerTheEntryWaits)
{
    startBrowser();
    spinEventLoop(700); // the first poll and its deadline
    EXPECT_EQ(follower()->secondaryString(), "");
    EXPECT_EQ(primaries(*follower()), QStringList{"Current iTunes Artist"});
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(FollowerFixture, FollowsTheArtistOfThePlayingTrack)
{
    server.answers["Pink Floyd"] = {{"Yes", 8}, {"Camel", 5}};
    MprisPlayerProcess& player = startPlayer({"--name", "testplayer", "--artist", "Pink Floyd feat. Someone", "--status", "Playing"});
    startBrowser();
    browser->tableAtIndex(0)->selectRowByExtendingSelection(3, false); // another entry is selected

    ASSERT_TRUE(waitUntil([&] { return follower()->secondaryString() == "Pink Floyd"; }, 3000)) << "the first poll comes at once";
    EXPECT_EQ(follower()->nodes().front()->primaryString(), "Similar to Pink Floyd");
    EXPECT_EQ(banner->keywords(), "Pink Floyd");
    ASSERT_TRUE(waitUntil([&] { return follower()->isLoaded(); }));
    EXPECT_EQ(primaries(*follower()), (QStringList{"Similar to Pink Floyd", "Yes", "Camel"}));
    EXPECT_EQ(server.askedArtists(), QStringList{"Pink Floyd"}) << "the main artist, without the credit";
    EXPECT_EQ(browser->tableAtIndex(0)->selectedRow(), 3) << "following never moves the selection";

    ASSERT_TRUE(player.send("artist Pink Floyd"));
    spinEventLoop(iTunesNode::pollIntervalMs + 800);
    EXPECT_EQ(server.requestCount(), 1) << "the same artist again asks nothing";

    ASSERT_TRUE(player.send("artist Bj\u00f6rk"));
    ASSERT_TRUE(waitUntil([&] { return follower()->secondaryString() == "Bj\u00f6rk"; }, iTunesNode::pollIntervalMs + 1500));
    EXPECT_EQ(follower()->nodes().front()->primaryString(), "Similar to Bj\u00f6rk");
    // The follower stays loaded from its first answer; the new rows tell the second one.
    ASSERT_TRUE(waitUntil([&] { return follower()->nodes().size() == 2; }));
    EXPECT_EQ(server.askedArtists().last(), "Bj\u00f6rk");
    EXPECT_EQ(primaries(*follower()), (QStringList{"Similar to Bj\u00f6rk", "No Similar Artists Found"}));
}

TEST_F(FollowerFixture, DoubleClickSavesTheArtistWithoutMovingTheSelection)
{
    startBrowser();
    follower()->doubleClickedNode(); // no artist yet: the empty name matches the blank caption
    EXPECT_EQ(browser->rootNode()->nodes().size(), 5u);

    startPlayer({"--name", "testplayer", "--artist", "Low", "--status", "Playing"});
    ASSERT_TRUE(waitUntil([&] { return follower()->secondaryString() == "Low"; }, iTunesNode::pollIntervalMs + 1500));
    browser->tableAtIndex(0)->selectRowByExtendingSelection(2, false);
    follower()->doubleClickedNode();
    ASSERT_EQ(browser->rootNode()->nodes().size(), 6u);
    EXPECT_EQ(browser->rootNode()->nodes()[5]->primaryString(), "Low");
    EXPECT_EQ(browser->tableAtIndex(0)->selectedRow(), 2);
    follower()->doubleClickedNode();
    EXPECT_EQ(browser->rootNode()->nodes().size(), 6u) << "already saved";
}

TEST_F(FollowerFixture, APlayerThatCannotAnswerIsLoggedAndTheArtistKept)
{
    startPlayer({"--name", "testplayer", "--no-metadata", "--status", "Stopped"});
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    startBrowser();
    const bool sawError = waitUntil([&] { return logged.size() >= 2; }, 3000);
    qInstallMessageHandler(previous);
    ASSERT_TRUE(sawError);
    const qsizetype at = logged.indexOf(iTunesNode::queryText());
    ASSERT_GE(at, 0) << logged.join('\n').toStdString();
    ASSERT_LT(at + 1, logged.size());
    EXPECT_TRUE(logged.at(at + 1).startsWith("NSAppleScript Error: ")) << logged.at(at + 1).toStdString();
    EXPECT_EQ(follower()->secondaryString(), "");
    EXPECT_EQ(server.requestCount(), 0);

    // The same failure at the next polls is not logged again.
    logged.clear();
    qInstallMessageHandler(recordMessage);
    follower()->polliTunes();
    spinEventLoop(MusicPlayer::deadlineMs + 300);
    qInstallMessageHandler(previous);
    EXPECT_FALSE(logged.contains(iTunesNode::queryText())) << logged.join('\n').toStdString();
}

// The poll stays (first at once, then 5 s after each answer); besides, a player's announcement
// of a new track, or a player appearing, is acted on at once.
TEST_F(FollowerFixture, ANewTrackOrANewPlayerIsNoticedWhenAnnounced)
{
    startBrowser();
    spinEventLoop(MusicPlayer::deadlineMs + 200); // the first poll found nobody
    EXPECT_EQ(follower()->secondaryString(), "");

    QElapsedTimer clock;
    clock.start();
    MprisPlayerProcess& player = startPlayer({"--name", "testplayer", "--artist", "Low", "--status", "Playing"});
    ASSERT_TRUE(waitUntil([&] { return follower()->secondaryString() == "Low"; }, 2000)) << "a player that appears";
    EXPECT_LT(clock.elapsed(), iTunesNode::pollIntervalMs) << "well before the next poll";

    clock.restart();
    ASSERT_TRUE(player.send("artist Bj\u00f6rk"));
    ASSERT_TRUE(waitUntil([&] { return follower()->secondaryString() == "Bj\u00f6rk"; }, 2000)) << "a new track";
    EXPECT_LT(clock.elapsed(), iTunesNode::pollIntervalMs);
    RecordProperty("new_track_ms", int(clock.elapsed()));
    EXPECT_TRUE(waitUntil([&] { return server.askedArtists().contains("Bj\u00f6rk"); }));
}
