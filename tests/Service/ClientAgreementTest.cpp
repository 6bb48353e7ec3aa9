// SPDX-License-Identifier: GPL-3.0-or-later
// The app's own lookup entry and picks entry against the real service: what the service sends
// is what the client shows.
#include "ServiceTestSupport.h"

#include "Application/ArtistAlbumNode.h"
#include "Application/BrondelNode.h"
#include "Application/CorrelationLookupNode.h"
#include "Application/HistoryNode.h"
#include "Platform/UserDefaults.h"
#include "Service/CatalogProvider.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

namespace {

struct ClientAgainstService : ::testing::Test {
    ServiceFixture fixture;
    void SetUp() override
    {
        fixture.start(QStringLiteral("catalog"));
        UserDefaults::standardUserDefaults().setObjectForKey(fixture.base(), QStringLiteral("ServiceURL"));
    }
};

} // namespace

TEST_F(ClientAgainstService, ALookupShowsTheCatalogsSimilarArtistsInOrder)
{
    auto entry = Node::nodeWithPrimary<CorrelationLookupNode>(QStringLiteral("Radiohead"));
    entry->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return entry->isLoaded(); }));

    const CatalogProvider catalog;
    const CatalogProvider::Entry* expected = catalog.find(QStringLiteral("Radiohead"));
    ASSERT_NE(expected, nullptr);
    ASSERT_EQ(entry->nodes().size(), std::size_t(expected->similar.size()) + 1) << "the header, then one row per artist";
    const auto first = std::dynamic_pointer_cast<CorrelationNode>(entry->nodes()[1]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->primaryString(), QStringLiteral("Thom Yorke"));
    EXPECT_EQ(first->nStars(), 4u);
    EXPECT_NE(HistoryNode::instance()->historicalCorrelationNamed(QStringLiteral("Thom Yorke")), nullptr);
}

TEST_F(ClientAgainstService, NamesBeyondAsciiAndUnknownArtistsArriveWhole)
{
    auto bjork = Node::nodeWithPrimary<CorrelationLookupNode>(QStringLiteral("Bj\u00f6rk"));
    auto unknown = Node::nodeWithPrimary<CorrelationLookupNode>(QStringLiteral("Nobody & The Unknowns"));
    bjork->nodeWasSelected();
    unknown->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return bjork->isLoaded() && unknown->isLoaded(); }));
    EXPECT_GT(bjork->nodes().size(), 2u);
    EXPECT_EQ(bjork->nodes().front()->primaryString(), QStringLiteral("Similar to Bj\u00f6rk"));
    ASSERT_EQ(unknown->nodes().size(), 2u);
    EXPECT_EQ(unknown->nodes()[1]->primaryString(), QStringLiteral("No Similar Artists Found"));
}

TEST_F(ClientAgainstService, ThePicksEntryShowsTheServicesPicksWithCovers)
{
    auto picks = Node::nodeWithPrimary<BrondelNode>(QStringLiteral("Brondel's Picks"));
    picks->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return picks->isLoaded(); }));
    ASSERT_GT(picks->nodes().size(), 1u);
    const auto album = std::dynamic_pointer_cast<ArtistAlbumNode>(picks->nodes()[1]);
    ASSERT_NE(album, nullptr);
    EXPECT_FALSE(album->primaryString().isEmpty());
    EXPECT_FALSE(album->secondaryString().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return album->image().cacheKey() != ArtistAlbumNode::placeholderImage().cacheKey(); }))
        << "the cover arrives from /covers/";
}

TEST_F(ClientAgainstService, NamesTheServiceEscapesForXmlShowAsTheyAre)
{
    auto entry = Node::nodeWithPrimary<CorrelationLookupNode>(QStringLiteral("The Beatles"));
    entry->nodeWasSelected();
    ASSERT_TRUE(waitUntil([&] { return entry->isLoaded(); }));
    QStringList rows;
    for (const auto& row : entry->nodes())
        rows.append(row->primaryString());
    EXPECT_TRUE(rows.contains(QStringLiteral("Simon & Garfunkel"))) << "sent as \"Simon &amp; Garfunkel\"";
}
