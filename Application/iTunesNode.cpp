// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/iTunesNode.h"

#include "Application/AdView.h"
#include "Application/MainNode.h"
#include "Platform/LoggingCategories.h"
#include "Platform/MusicPlayer.h"
#include "Platform/UserDefaults.h"

#include <QCoreApplication>
#include <QTimer>

iTunesNode::iTunesNode()
    : m_player(std::make_unique<MusicPlayer>())
    , m_pollTimer(new QTimer(&m_context))
{
    m_pollTimer->setSingleShot(true);
    QObject::connect(m_pollTimer, &QTimer::timeout, &m_context, [this] { polliTunes(); });
}

iTunesNode::~iTunesNode() = default;

void iTunesNode::init()
{
    CorrelationLookupNode::init();
    scheduleNextPoll(0);
    // A new track is noticed when the player announces it, not up to a poll later.
    m_player->watchForChanges(&m_context, [this] { polliTunes(); });
}

QString iTunesNode::queryText()
{
    return QStringLiteral("org.mpris.MediaPlayer2.Player.Metadata[xesam:artist] of the current MPRIS player");
}

void iTunesNode::scheduleNextPoll(int delayMs)
{
    // The timer belongs to the node's own context object, so it goes away with the node.
    m_pollTimer->start(delayMs);
}

void iTunesNode::polliTunes()
{
    if (m_polling) {
        m_pollAgain = true;
        return;
    }
    m_pollTimer->stop();
    executeApplescript();
}

void iTunesNode::executeApplescript()
{
    const QString followed = UserDefaults::standardUserDefaults().stringForKey(QStringLiteral("FollowedPlayer")).value_or(QString());
    // The answer comes back on the main thread within half a second; the next poll counts
    // its 5 seconds from then.
    m_polling = true;
    m_player->queryCurrentArtist(followed, &m_context, [this](const PlayerAnswer& answer) {
        const auto keepAlive = shared_from_this();
        m_polling = false;
        playerDidAnswer(answer);
        if (m_pollAgain) {
            m_pollAgain = false;
            polliTunes();
        } else {
            scheduleNextPoll(pollIntervalMs);
        }
    });
}

void iTunesNode::playerDidAnswer(const PlayerAnswer& answer)
{
    if (!answer.isRunning)
        return;
    if (answer.artist && *answer.artist != secondaryString()) {
        setSecondary(*answer.artist);
        updateBrowserTables();
        releaseCorrelations();
        nodeWasSelected();
    }
    // A failure is logged when it starts or changes, not on every poll while it lasts.
    if (!answer.errorText.isEmpty() && answer.errorText != m_lastError) {
        qCWarning(lcPlayer).noquote() << queryText();
        qCWarning(lcPlayer).noquote() << "NSAppleScript Error:" << answer.errorText;
    }
    m_lastError = answer.errorText;
}

void iTunesNode::addHeaderNodes()
{
    const QString artist = secondaryString();
    addNode(Node::nodeWithPrimary<TitleNode>(artist.isEmpty() ? primaryString() : QCoreApplication::translate("CorrelationNode", "Similar to %1").arg(artist)));
}

void iTunesNode::nodeWasSelected()
{
    lookupCorrelations(secondaryString());
    if (AdView* banner = AdView::instance())
        banner->setKeywords(secondaryString());
}

void iTunesNode::doubleClickedNode()
{
    addLookupInBrowser(secondaryString(), false);
}
