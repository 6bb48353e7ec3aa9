// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/AdView.h"
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/Correlation.h"
#include "Application/CorrelationLookupNode.h"
#include "Application/CorrelationNode.h"
#include "Application/MainNode.h"
#include "Application/URLQueryNode.h"
#include "Platform/UserDefaults.h"

#include "support/TestUtil.h"

#include "ApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
std::vector<std::uint32_t> starsOf(CorrelationContainerNode& container)
{
    std::vector<std::uint32_t> stars;
    for (const auto& child : container.nodes()) {
        if (auto row = std::dynamic_pointer_cast<CorrelationNode>(child))
            stars.push_back(row->nStars());
    }
    return stars;
}
} // namespace

TEST(Correlation, StarsCutTheRatingRangeIntoFourBands)
{
    auto container = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    container->setCorrelations(records({{"a", 10}, {"b", 20}, {"c", 30}, {"d", 40}, {"e", 50}}));
    EXPECT_EQ(starsOf(*container), (std::vector<std::uint32_t>{1, 2, 3, 4, 4}));
    EXPECT_EQ(container->minRating(), 10.0f);
    EXPECT_EQ(container->maxRating(), 50.0f);
    EXPECT_TRUE(container->isLoaded());
    ASSERT_EQ(container->nodes().size(), 6u);
    EXPECT_EQ(container->nodes()[1]->primaryString(), "a") << "rows follow the header in list order";
}

TEST(Correlation, StarCountEdgeCases)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float rating, min, max;
        std::uint32_t stars;
    } cases[] = {
        {5, 5, 5, 4},       // one row, or all ratings equal
        {-3, -3, 0, 1},     // one negative record: the maximum stays 0
        {0, -3, 0, 4},
        {39.9f, 10, 50, 3}, // just below a band edge
        {40, 10, 50, 4},
        {inf, 10, inf, 1},  // undefined quotient from a hostile answer
        {99, 10, 50, 4},    // beyond the range: clamped
        {1, 10, 50, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CorrelationNode::starCount(c.rating, c.min, c.max), c.stars) << c.rating << " in " << c.min << ".." << c.max;
}

TEST(Correlation, ContainerRangesForSingleAndNegativeRecords)
{
    auto single = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    single->setCorrelations(records({{"a", 7}}));
    EXPECT_EQ(single->minRating(), 7.0f);
    EXPECT_EQ(single->maxRating(), 7.0f);
    EXPECT_EQ(starsOf(*single), std::vector<std::uint32_t>{4});

    auto negative = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    negative->setCorrelations(records({{"a", -2}, {"b", -8}}));
    EXPECT_EQ(negative->maxRating(), 0.0f);
    EXPECT_EQ(negative->minRating(), -8.0f);

    auto empty = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    EXPECT_EQ(empty->minRating(), 0.0f) << "never filled";
    empty->setCorrelations({});
    EXPECT_TRUE(std::isinf(empty->minRating()));
    EXPECT_EQ(empty->maxRating(), 0.0f);
    EXPECT_TRUE(empty->isLoaded());
}

TEST(Correlation, StarCountIsKeptOnceComputed)
{
    auto container = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    container->setCorrelations(records({{"a", 10}, {"b", 50}}));
    auto low = std::dynamic_pointer_cast<CorrelationNode>(container->nodes()[1]);
    EXPECT_EQ(low->nStars(), 1u);
    container->setCorrelations(records({{"c", 0}})); // the range changes
    EXPECT_EQ(low->nStars(), 1u);
}

TEST(Correlation, HistoryRecordsRoundTripThroughTheirDictionaryForm)
{
    const HistoricalCorrelation record("abc", 2.0f);
    const QVariantMap dictionary = record.dictionary();
    EXPECT_EQ(dictionary, (QVariantMap{{"Name", "abc"}, {"Rating", 2.0}}));
    const HistoricalCorrelation back = HistoricalCorrelation::initWithDictionary(dictionary);
    EXPECT_EQ(back.name, "abc");
    EXPECT_EQ(back.rating, 2.0f);
    EXPECT_EQ(back.popularity, 0.0f);
    EXPECT_EQ(HistoricalCorrelation("abc", 1.5f).description(), "abc, 1.500000");
    EXPECT_EQ(HistoricalCorrelation::initWithDictionary({{"Name", "x"}}).rating, 0.0f);
    EXPECT_EQ(HistoricalCorrelation::initWithDictionary({{"Name", "x"}, {"Rating", "4.5"}}).rating, 4.5f);
}

TEST(Correlation, SelectingARowBuildsItsSearchLinksOnceAndTellsTheBannerEveryTime)
{
    AdView banner;
    auto container = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    container->setCorrelations(records({{"Pink Floyd", 10}}));
    auto row = std::dynamic_pointer_cast<CorrelationNode>(container->nodes()[1]);

    row->nodeWasSelected();
    EXPECT_EQ(banner.keywords(), "Pink Floyd");
    ASSERT_EQ(row->nodes().size(), 11u);
    const auto& links = row->nodes();
    EXPECT_EQ(links[0]->primaryString(), "Pink Floyd");
    EXPECT_NE(std::dynamic_pointer_cast<TitleNode>(links[0]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<GoogleNode>(links[1]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<GoogleImagesNode>(links[2]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<GoogleNewsNode>(links[3]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<SeparatorNode>(links[4]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<AmazonNode>(links[5]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<Everything2Node>(links[6]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<RollingStoneNode>(links[7]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<SeparatorNode>(links[8]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<iTunesMusicStoreNode>(links[9]), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<AcquisitionNode>(links[10]), nullptr);

    const auto first = links[1];
    banner.setKeywords("someone else");
    row->nodeWasSelected();
    EXPECT_EQ(row->nodes().size(), 11u);
    EXPECT_EQ(row->nodes()[1], first) << "built once and kept";
    EXPECT_EQ(banner.keywords(), "Pink Floyd");
}

TEST(Correlation, DoubleClickingAnArtistSelectsItsExistingLookupInAnyCase)
{
    UserDefaults::standardUserDefaults().setObjectForKey(QStringList{"Pink Floyd"}, "CorrelationLookupNodes");
    BrowserView browser;
    auto root = browser.rootNode();
    ASSERT_EQ(root->nodes().size(), 6u);

    auto container = Node::nodeWithPrimary<CorrelationContainerNode>("X");
    root->addNode(container); // attached, so it finds the browser
    container->setCorrelations(records({{"pink floyd", 10}, {"Björk", 5}}));

    container->nodes()[1]->doubleClickedNode();
    EXPECT_EQ(root->nodes().size(), 7u) << "nothing added for a name already there";
    EXPECT_EQ(browser.tableAtIndex(0)->selectedRow(), 5);
    EXPECT_EQ(root->nodes()[5]->primaryString(), "Pink Floyd") << "the existing entry keeps its spelling";

    container->nodes()[2]->doubleClickedNode();
    ASSERT_EQ(root->nodes().size(), 8u);
    EXPECT_EQ(root->nodes()[7]->primaryString(), "Björk");
    EXPECT_EQ(browser.tableAtIndex(0)->selectedRow(), 7);

    auto detached = Node::nodeWithPrimary<CorrelationNode>("Nobody");
    detached->doubleClickedNode(); // no browser: nothing happens
}
