// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/CorrelationLookupNode.h"
#include "Application/MainNode.h"
#include "Application/Node.h"
#include "RKKit/RKTableString.h"
#include "RKKit/RKText.h"

#include "support/TestUtil.h"

#include "ApplicationTestSupport.h"

#include <gtest/gtest.h>

TEST(Node, FactoriesMakeTheKindTheyAreAskedForWithHeadersThatSeeTheLabels)
{
    auto lookup = Node::nodeWithPrimary<CorrelationLookupNode>("Pink Floyd");
    static_assert(std::is_same_v<decltype(lookup), std::shared_ptr<CorrelationLookupNode>>);
    EXPECT_EQ(primaries(*lookup), QStringList{"Similar to Pink Floyd"});
    EXPECT_EQ(lookup->nodes().front()->parentNode(), lookup);

    lookup->addNode(Node::nodeWithPrimary<Node>("extra"));
    lookup->removeAllNodes();
    EXPECT_EQ(primaries(*lookup), QStringList{"Similar to Pink Floyd"}) << "the header row comes back at once";

    auto both = Node::nodeWithPrimarySecondary<Node>("one", "two");
    EXPECT_EQ(both->primaryString(), "one");
    EXPECT_EQ(both->secondaryString(), "two");
    EXPECT_EQ(both->tertiary(), nullptr);
    EXPECT_EQ(both->tertiaryString(), QString());
}

TEST(Node, AFreshNodeHasTheDefaultHooks)
{
    auto node = Node::node();
    EXPECT_TRUE(node->canSelectNode());
    EXPECT_FALSE(node->mightHaveSubnodes());
    EXPECT_FALSE(node->nodeMouseDown(nullptr));
    EXPECT_FALSE(node->nodeMouseUp(nullptr));
    EXPECT_FALSE(node->isLoaded());
    EXPECT_TRUE(node->nodes().empty());
    EXPECT_EQ(node->browserView(), nullptr);
    EXPECT_EQ(&node->primaryAttributes(), &RKText::textAttributes12());
    EXPECT_EQ(&node->secondaryAttributes(), &RKText::textAttributes10());
}

TEST(Node, RemoveNodeRemovesEveryOccurrenceAndLeavesTheParentReference)
{
    auto parent = Node::node();
    auto child = Node::nodeWithPrimary<Node>("twice");
    auto other = Node::nodeWithPrimary<Node>("twice"); // equal text, another node
    parent->addNode(child);
    parent->addNode(other);
    parent->addNode(child);
    parent->removeNode(child.get());
    ASSERT_EQ(parent->nodes().size(), 1u);
    EXPECT_EQ(parent->nodes().front(), other);
    EXPECT_EQ(child->parentNode(), parent);

    auto childless = Node::node();
    childless->removeNode(child.get()); // nothing to remove from: no effect
    EXPECT_TRUE(childless->nodes().empty());
}

TEST(Node, ParentReferencesNeverDangle)
{
    auto child = Node::node();
    {
        auto parent = Node::node();
        parent->addNode(child);
    }
    EXPECT_EQ(child->parentNode(), nullptr);
    EXPECT_EQ(child->browserView(), nullptr);
}

TEST(Node, LabelsAreRebuiltWithTheAttributeSetOfTheKind)
{
    auto title = Node::nodeWithPrimary<TitleNode>("Caption");
    EXPECT_EQ(title->primary()->attributedString().attributes, RKText::textAttributes11());
    const RKTableString* first = title->primary();
    title->setPrimary("Another");
    EXPECT_NE(title->primary(), first);
    EXPECT_EQ(title->primaryString(), "Another");
    EXPECT_FALSE(title->canSelectNode());
    EXPECT_FALSE(Node::node<SeparatorNode>()->canSelectNode());
    EXPECT_TRUE(Node::node<HeaderNode>()->canSelectNode());
}

TEST(Node, StructuralRowsAreComplete)
{
    auto nothing = Node::node<NothingFoundNode>();
    EXPECT_EQ(nothing->primaryString(), "No Similar Artists Found");
    EXPECT_EQ(nothing->secondaryString(), "Perhaps try a different name.");
    EXPECT_EQ(nothing->primary()->attributedString().attributes, RKText::textAttributesGray12());
    EXPECT_EQ(nothing->secondary()->attributedString().attributes, RKText::textAttributesGray10());
    EXPECT_FALSE(nothing->image().isNull());
    EXPECT_EQ(nothing->image().size(), QSizeF(33, 33));
    EXPECT_FALSE(nothing->canSelectNode());

    auto placeholder = Node::node<TitleContainerNode>();
    ASSERT_EQ(placeholder->nodes().size(), 1u);
    EXPECT_NE(std::dynamic_pointer_cast<TitleNode>(placeholder->nodes().front()), nullptr);
    EXPECT_EQ(placeholder->nodes().front()->primary(), nullptr) << "a caption strip without words";
}

TEST(Node, NodesBelowTheRootFindTheBrowser)
{
    BrowserView browser;
    auto root = browser.rootNode();
    ASSERT_NE(root, nullptr);
    auto a = Node::node();
    auto b = Node::node();
    auto c = Node::node();
    root->addNode(a);
    a->addNode(b);
    b->addNode(c);
    EXPECT_EQ(c->browserView(), &browser);
    EXPECT_EQ(Node::node()->browserView(), nullptr);
}

TEST(Node, AColumnWithAChildlessRootShowsOneCaptionStrip)
{
    MetaTableView table;
    table.setRootNode(Node::node());
    EXPECT_EQ(table.numberOfRows(), 1);
    EXPECT_NE(std::dynamic_pointer_cast<TitleNode>(table.nodeAtRow(0)), nullptr);
    table.setRootNode(nullptr);
    EXPECT_EQ(table.numberOfRows(), 1);
    EXPECT_EQ(table.selectedNode(), nullptr);
}
