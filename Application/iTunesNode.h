// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Current iTunes Artist": follows the artist of the track the desktop's music player is
// playing (any MPRIS player) and looks each new artist up, whether or not it is on screen.

#include "Application/CorrelationLookupNode.h"

#include <QObject>

#include <memory>

class MusicPlayer;
struct PlayerAnswer;

class QTimer;

class iTunesNode : public CorrelationLookupNode {
public:
    static constexpr int pollIntervalMs = 5000;

    iTunesNode();
    ~iTunesNode() override;

    // Schedules the first poll for the first turn of the event loop, and polls at once whenever
    // a player announces a change.
    void init() override;
    // One poll; the next one is scheduled 5.0 s after its answer. A poll asked for while one
    // is under way follows it as soon as it has answered.
    void polliTunes();
    // Asks the player for the artist of its current track and reacts to the answer.
    void executeApplescript();
    // The text logged before the error line when the player cannot answer.
    static QString queryText();

    // "Current iTunes Artist" without an artist, else "Similar to %@" with it.
    void addHeaderNodes() override;
    // Looks up the current artist (once per artist) and hands it to the banner.
    void nodeWasSelected() override;
    // The current artist becomes a saved lookup without moving the selection.
    void doubleClickedNode() override;

    // How the follower reacts to one answer of the player.
    void playerDidAnswer(const PlayerAnswer& answer);

private:
    void scheduleNextPoll(int delayMs);

    std::unique_ptr<MusicPlayer> m_player;
    QObject m_context; // answers and timers die with the node
    QTimer* m_pollTimer;
    bool m_polling = false;
    bool m_pollAgain = false;
    QString m_lastError; // the failure last logged; logged again only when it changes
};
