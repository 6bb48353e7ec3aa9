#include "Application/iTunesNode.h"
#include "Platform/LoggingCategories.h"

#include "Application/AdView.h"
#include "Application/MainNode.h"
#include "Platform/MusicPlayer.h"
#include "Platform/UserDefaults.h"

#include <QTimer>

iTunesNode::iTunesNode()
    : m_player(std::make_unique<MusicPlayer>())
{
}

iTunesNode::~iTunesNode() = default;

void iTunesNode::init()
{
    CorrelationLookupNode::init();
    scheduleNextPoll(0);
}

QString iTunesNode::queryText()
{
    return QStringLiteral("org.mpris.MediaPlayer2.Player.Metadata[xesam:artist] of the current MPRIS player");
}

void iTunesNode::scheduleNextPoll(int delayMs)
{
    // The timer belongs to the node's own context object, so it goes away with the node.
    QTimer::singleShot(delayMs, &m_context, [this] { polliTunes(); });
}

void iTunesNode::polliTunes()
{
    executeApplescript();
}

void iTunesNode::executeApplescript()
{
    const QString followed = UserDefaults::standardUserDefaults().stringForKey(QStringLiteral("FollowedPlayer")).value_or(QString());
    // The answer comes back on the main thread within half a second; the next poll counts
    // its 5 seconds from then.
    m_player->queryCurrentArtist(followed, &m_context, [this](const PlayerAnswer& answer) {
        const auto keepAlive = shared_from_this();
        playerDidAnswer(answer);
        scheduleNextPoll(pollIntervalMs);
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
    if (!answer.errorText.isEmpty()) {
        qCWarning(lcPlayer, "%s", qPrintable(queryText()));
        qCWarning(lcPlayer, "NSAppleScript Error: %s", qPrintable(answer.errorText));
    }
}

void iTunesNode::addHeaderNodes()
{
    const QString artist = secondaryString();
    addNode(Node::nodeWithPrimary<TitleNode>(artist.isEmpty() ? primaryString() : QStringLiteral("Similar to %1").arg(artist)));
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
