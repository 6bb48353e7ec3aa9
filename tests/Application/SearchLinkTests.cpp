// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/CorrelationNode.h"
#include "Application/URLQueryNode.h"

#include "support/OpenedLinks.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <QUrlQuery>

namespace {

std::shared_ptr<URLQueryNode> linkOf(const QString& artist, int index)
{
    auto row = Node::nodeWithPrimary<CorrelationNode>(artist);
    row->nodeWasSelected();
    // The link keeps its parent alive only through us: hold the row in a static list.
    static std::vector<std::shared_ptr<Node>> keep;
    keep.push_back(row);
    return std::dynamic_pointer_cast<URLQueryNode>(row->nodes().at(std::size_t(index)));
}

} // namespace

TEST(SearchLinks, EachServiceHasItsTextAndAddress)
{
    const struct {
        int index;
        const char* text;
        const char* address;
    } cases[] = {
        {1, "Search Google", "http://www.google.com/search?q=Pink%20Floyd"},
        {2, "Search Google Images", "http://images.google.com/images?q=Pink%20Floyd"},
        {3, "Search Google News", "http://news.google.com/news?hl=en&edition=us&q=Pink%20Floyd"},
        {5, "Search Amazon.com", "http://www.amazon.com/exec/obidos/external-search?tag=quorvix&mode=blended&index=music&keyword=Pink%20Floyd"},
        {6, "Search Everything2", "http://everything2.com/index.pl?node=Pink%20Floyd"},
        {7, "Search Rolling Stone", "http://www.rollingstone.com/bin/search/?st=music&query=Pink%20Floyd&1.x=0&1.y=0"},
        {9, "Search iTunes Music Store", "itms://phobos.apple.com/WebObjects/MZSearch.woa/wa/com.apple.jingle.search.DirectAction/search?term=Pink%20Floyd&type=artistName"},
        {10, "Search with Acquisition", "acquisitionsearch://Pink%20Floyd"},
    };
    for (const auto& c : cases) {
        const auto link = linkOf("Pink Floyd", c.index);
        ASSERT_NE(link, nullptr) << c.text;
        EXPECT_EQ(link->primaryString(), c.text);
        EXPECT_EQ(link->addressText(), c.address);
        EXPECT_FALSE(link->canSelectNode());
    }
    EXPECT_EQ(linkOf("Pink Floyd", 9)->image().size(), QSizeF(16, 16));
    EXPECT_EQ(linkOf("Pink Floyd", 10)->imageOffset(), QSizeF(0, 4));
    EXPECT_TRUE(linkOf("Pink Floyd", 1)->image().isNull());
}

TEST(SearchLinks, NamesThatAddressesCannotCarryPlainAreEncodedWhole)
{
    const struct {
        const char* name;
        const char* address;
    } cases[] = {
        {"Simon & Garfunkel", "http://www.google.com/search?q=Simon%20%26%20Garfunkel"},
        {"AC/DC", "http://www.google.com/search?q=AC%2FDC"},
        {"Bj\u00f6rk", "http://www.google.com/search?q=Bj%C3%B6rk"},
        {"\"Weird Al\" Yankovic", "http://www.google.com/search?q=%22Weird%20Al%22%20Yankovic"},
        {"100% Pure", "http://www.google.com/search?q=100%25%20Pure"},
    };
    OpenedLinks links({"http", "itms", "acquisitionsearch"});
    for (const auto& c : cases) {
        const auto google = linkOf(QString::fromUtf8(c.name), 1);
        EXPECT_EQ(google->addressText(), c.address);
        google->nodeAction();
        ASSERT_FALSE(links.opened.isEmpty()) << c.name;
        EXPECT_EQ(links.opened.last().toEncoded(), QByteArray(c.address));
        EXPECT_EQ(QUrlQuery(links.opened.last()).queryItemValue("q", QUrl::FullyDecoded), QString::fromUtf8(c.name))
            << "the service searches for the whole name";
    }
}

TEST(SearchLinks, PointerStatesAndTheReleaseOpensTheLink)
{
    OpenedLinks links({"http", "itms", "acquisitionsearch"});
    const auto link = linkOf("Pink Floyd", 1);
    link->mouseEnteredCurrentFrame(nullptr, QRectF());
    EXPECT_TRUE(link->isMouseOver);
    EXPECT_TRUE(link->shouldDrawAlternateText);
    EXPECT_TRUE(link->nodeMouseDown(nullptr)) << "the row handles the press itself";
    EXPECT_TRUE(link->isMouseDown);
    EXPECT_TRUE(links.opened.isEmpty()) << "nothing opens on the press";
    EXPECT_TRUE(link->nodeMouseUp(nullptr));
    EXPECT_FALSE(link->isMouseDown);
    ASSERT_EQ(links.opened.size(), 1);
    EXPECT_EQ(links.opened.first(), QUrl("http://www.google.com/search?q=Pink%20Floyd"));
    link->mouseExitedCurrentFrame(nullptr, QRectF());
    EXPECT_FALSE(link->isMouseOver);
    EXPECT_FALSE(link->shouldDrawAlternateText);

    // A link without a parent has no artist; an address that does not parse opens nothing.
    auto orphan = Node::node<GoogleNode>();
    EXPECT_EQ(orphan->addressText(), "http://www.google.com/search?q=");
    auto acquisition = linkOf("Pink Floyd", 10);
    acquisition->nodeAction(); // "Pink%20Floyd" is no host name: not a valid address here
    EXPECT_EQ(links.opened.size(), 1);
}

