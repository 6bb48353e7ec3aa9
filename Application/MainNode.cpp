// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/MainNode.h"

#include "Application/BrondelNode.h"
#include "Application/CorrelationLookupNode.h"
#include "Application/HistoryNode.h"
#include "Application/iTunesNode.h"
#include "Platform/UserDefaults.h"
#include "RKKit/RKExtensions/Events.h"
#include "RKKit/RKImages.h"

#include <QCoreApplication>
#include <typeinfo>

namespace {
const QString lookupsKey = QStringLiteral("CorrelationLookupNodes");
}

void MainNode::init()
{
    Node::init();
    addNode(Node::nodeWithPrimary<TitleNode>(QString()));

    // Making the follower schedules its first poll of the music player.
    auto follower = Node::nodeWithPrimarySecondary<iTunesNode>(QCoreApplication::translate("MainNode", "Current iTunes Artist"), QString());
    follower->setImage(RKImages::imageNamed(QStringLiteral("itunes")));
    addNode(follower);

    auto picks = Node::nodeWithPrimarySecondary<BrondelNode>(QCoreApplication::translate("MainNode", "Brondel's Picks"),
                                                             QCoreApplication::translate("MainNode", "hand chosen for your enjoyment"));
    picks->setImage(RKImages::imageNamed(QStringLiteral("registration")));
    addNode(picks);

    const auto history = HistoryNode::instance();
    history->setPrimary(QCoreApplication::translate("MainNode", "Your Recommendations"));
    history->setSecondary(QStringLiteral(" "));
    history->setImage(RKImages::imageNamed(QStringLiteral("music")));
    addNode(history);

    addNode(Node::make<SeparatorNode>());
    loadDefaults();
    Events::listenForNotificationSelector(self<MainNode>(), ApplicationWillTerminateNotification, &MainNode::saveDefaults);
}

void MainNode::loadDefaults()
{
    const auto names = UserDefaults::standardUserDefaults().arrayForKey(lookupsKey);
    if (!names)
        return;
    for (const QVariant& name : *names) {
        // Only texts name an artist; anything else in a hand-edited file is passed over.
        if (name.typeId() == QMetaType::QString)
            addNode(Node::nodeWithPrimary<CorrelationLookupNode>(name.toString()));
    }
}

void MainNode::saveDefaults()
{
    QVariantList names;
    for (const auto& child : nodes()) {
        if (isSavedLookup(*child))
            names.append(child->primaryString());
    }
    UserDefaults::standardUserDefaults().setObjectForKey(names, lookupsKey);
}

void MainNode::addNewLookupNodeWithStringAndSelect(const QString& name, bool select)
{
    const auto& children = nodes();
    std::size_t index = 0;
    for (; index < children.size(); ++index) {
        const RKTableString* label = children[index]->primary();
        if (label && QString::compare(name, children[index]->primaryString(), Qt::CaseInsensitive) == 0)
            break;
    }
    if (index == children.size()) {
        addNode(Node::nodeWithPrimary<CorrelationLookupNode>(name));
        updateBrowserTables();
    }
    if (select)
        selectRowInBrowserColumn(int(index), 0);
}

bool MainNode::isSavedLookup(const Node& node)
{
    // Exactly a lookup: the follower and the recommendations derive from it and are fixed.
    return typeid(node) == typeid(CorrelationLookupNode);
}
