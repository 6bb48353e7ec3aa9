// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/BrondelNode.h"
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/CorrelationLookupNode.h"
#include "Application/HistoryNode.h"
#include "Application/MainNode.h"
#include "Application/iTunesNode.h"
#include "Platform/NotificationCenter.h"

#include "ApplicationTestSupport.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

namespace {

// A browser in a shown, active window, so focus changes are real.
struct ShownBrowser {
    QWidget window;
    BrowserView* browser;
    ShownBrowser()
        : browser(new BrowserView(&window))
    {
        window.resize(600, 300);
        window.show();
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
    }
    MainNode& root() { return *browser->rootNode(); }
    MetaTableView& column(int i) { return *browser->tableAtIndex(i); }
};

} // namespace

TEST(Root, AFreshProfileHasTheFiveFixedEntries)
{
    BrowserView browser;
    const auto root = browser.rootNode();
    ASSERT_EQ(root->nodes().size(), 5u);
    const auto& entries = root->nodes();
    EXPECT_NE(std::dynamic_pointer_cast<TitleNode>(entries[0]), nullptr);
    EXPECT_EQ(entries[0]->primaryString(), "");
    EXPECT_NE(std::dynamic_pointer_cast<iTunesNode>(entries[1]), nullptr);
    EXPECT_EQ(entries[1]->primaryString(), "Current iTunes Artist");
    EXPECT_EQ(entries[1]->secondaryString(), "");
    EXPECT_NE(std::dynamic_pointer_cast<BrondelNode>(entries[2]), nullptr);
    EXPECT_EQ(entries[2]->primaryString(), "Brondel's Picks");
    EXPECT_EQ(entries[2]->secondaryString(), "hand chosen for your enjoyment");
    EXPECT_EQ(entries[3], HistoryNode::instance());
    EXPECT_EQ(entries[3]->primaryString(), "Your Recommendations");
    EXPECT_EQ(entries[3]->secondaryString(), " ");
    EXPECT_NE(std::dynamic_pointer_cast<SeparatorNode>(entries[4]), nullptr);
    for (int i : {1, 2, 3})
        EXPECT_FALSE(entries[std::size_t(i)]->image().isNull()) << i;
    EXPECT_EQ(browser.tableAtIndex(0)->selectedRow(), 0) << "the browser starts on the blank caption";
    EXPECT_EQ(browser.tableAtIndex(3), nullptr);
}

TEST(Root, SavedLookupsFollowTheFixedEntriesInSavedOrder)
{
    UserDefaults::standardUserDefaults().setObjectForKey(QVariantList{"A", 7, "B", "A"}, "CorrelationLookupNodes");
    BrowserView browser;
    const auto root = browser.rootNode();
    ASSERT_EQ(root->nodes().size(), 8u) << "non-texts are passed over; duplicates stay";
    EXPECT_EQ(primaries(*root).mid(5), (QStringList{"A", "B", "A"}));
    EXPECT_EQ(primaries(*root->nodes()[5]), QStringList{"Similar to A"});
    EXPECT_EQ(primaries(*root->nodes()[6]), QStringList{"Similar to B"});
}

TEST(Root, ANameAlreadyThereInAnyCaseIsSelectedNotAdded)
{
    UserDefaults::standardUserDefaults().setObjectForKey(QStringList{"Pink Floyd", "Pink Floyd"}, "CorrelationLookupNodes");
    ShownBrowser shown;
    shown.column(1).setFocus();
    shown.root().addNewLookupNodeWithStringAndSelect("PINK floyd", true);
    EXPECT_EQ(shown.root().nodes().size(), 7u);
    EXPECT_EQ(shown.column(0).selectedRow(), 5) << "the first of two equal entries";
    EXPECT_TRUE(shown.column(0).hasFocus());
    EXPECT_EQ(shown.column(1).rootNode(), shown.root().nodes()[5]) << "its rows are shown next";

    shown.column(1).setFocus();
    shown.root().addNewLookupNodeWithStringAndSelect("your recommendations", true);
    EXPECT_EQ(shown.column(0).selectedRow(), 3) << "fixed entries take part";
    EXPECT_TRUE(shown.column(0).hasFocus());

    shown.root().addNewLookupNodeWithStringAndSelect("", true);
    EXPECT_EQ(shown.root().nodes().size(), 7u);
    EXPECT_EQ(shown.column(0).selectedRow(), 0) << "the empty name matches the blank caption";
}

TEST(Root, SelectingAnAddedLookupStartsItAndShowsItsRows)
{
    SimilarArtistServer server;
    server.answers["Yes"] = {{"Genesis", 9}, {"Rush", 4}};
    ShownBrowser shown;
    shown.root().addNewLookupNodeWithStringAndSelect("Yes", true);
    ASSERT_EQ(shown.root().nodes().size(), 6u);
    EXPECT_EQ(shown.column(0).selectedRow(), 5);
    EXPECT_EQ(shown.column(0).numberOfRows(), 6) << "the new entry is shown";
    ASSERT_TRUE(waitUntil([&] { return shown.column(1).numberOfRows() == 3; }));
    EXPECT_EQ(shown.column(1).nodeAtRow(1)->primaryString(), "Genesis");
    EXPECT_EQ(server.askedArtists(), QStringList{"Yes"});
}

TEST(Root, AddingWithoutSelectAppendsAndLeavesTheSelection)
{
    ShownBrowser shown;
    shown.column(0).selectRowByExtendingSelection(3, false);
    shown.root().addNewLookupNodeWithStringAndSelect("Kraftwerk", false);
    EXPECT_EQ(shown.root().nodes().size(), 6u);
    EXPECT_EQ(shown.column(0).numberOfRows(), 6);
    EXPECT_EQ(shown.column(0).selectedRow(), 3);
}

TEST(Root, QuittingStoresOnlyThePlainLookupsInRowOrder)
{
    postApplicationWillTerminateOnQuit();
    UserDefaults::standardUserDefaults().setObjectForKey(QStringList{"B"}, "CorrelationLookupNodes");
    BrowserView browser;
    browser.rootNode()->addNewLookupNodeWithStringAndSelect("A", false);
    browser.rootNode()->addNewLookupNodeWithStringAndSelect("C", false);
    browser.rootNode()->removeNode(browser.rootNode()->nodes()[6].get()); // the user deleted "A"
    QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    UserDefaults reread(UserDefaults::standardFilePath());
    EXPECT_EQ(reread.arrayForKey("CorrelationLookupNodes"), (QVariantList{"B", "C"}));
}
