// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>
#include <optional>

class QObject;

// What one query of the music player found.
//   isRunning false             no player counts (none on the bus, or none with the followed identity)
//   isRunning true, artist set  the main artist of the current track (never empty)
//   isRunning true, no artist   the player could not tell; errorText says why, for the log
// errorText may also be set with isRunning false: the session bus failed, or the players did not
// answer in time to tell whether the followed one is among them.
struct PlayerAnswer {
    bool isRunning = false;
    std::optional<QString> artist;
    QString errorText;
};

// The music player, reached over MPRIS 2 on a D-Bus bus (the session bus by default).
class MusicPlayer {
public:
    // The longest a query takes before it answers with an error.
    static constexpr int deadlineMs = 500;

    explicit MusicPlayer(QDBusConnection bus = QDBusConnection::sessionBus());

    // Asks, without blocking, which player counts and the artist of its current track.
    // With a non-empty followedIdentity only a player whose Identity equals it exactly counts;
    // otherwise the first playing player, else the first player, in bus-name order, where
    // web browsers count only when no other player is there.
    // `done` is called exactly once, from the event loop of the calling thread (call this on the
    // main thread), within deadlineMs; it is never called once `context` has been destroyed.
    void queryCurrentArtist(const QString& followedIdentity, QObject* context,
                            std::function<void(const PlayerAnswer&)> done);

    // Calls `changed` whenever a player on the bus announces a new track or playback state
    // (PropertiesChanged of Metadata or PlaybackStatus), or a player appears or leaves
    // (NameOwnerChanged of an org.mpris.MediaPlayer2.* name). Stops when `context` is destroyed.
    void watchForChanges(QObject* context, std::function<void()> changed);

    // The main artist of an artist credit: the text before a " feat. ", " ft. " or " featuring "
    // credit (any case, also opened by a bracket), trimmed.
    static QString mainArtist(const QString& credit);

    // Whether the MPRIS bus name belongs to a web browser.
    static bool isBrowserBusName(const QString& busName);

private:
    QDBusConnection m_bus;
};
