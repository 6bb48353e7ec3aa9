// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// The state of the test player, exported at /org/mpris/MediaPlayer2 through the two adaptors.
class MprisPlayer : public QObject {
    Q_OBJECT
public:
    QString identity;
    QString status = QStringLiteral("Playing");
    QStringList artists;
    QString title = QStringLiteral("Test Track");
    bool plainStringArtist = false;
    bool noMetadata = false;
    bool hang = false;

    QVariantMap metadata() const;
    void setStatus(const QString& newStatus);
    // Emits org.freedesktop.DBus.Properties.PropertiesChanged for one property.
    void announce(const QString& interface, const QString& property, const QVariant& value);
};

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(bool CanQuit READ no)
    Q_PROPERTY(bool CanRaise READ no)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
public:
    explicit MprisRootAdaptor(MprisPlayer* player) : QDBusAbstractAdaptor(player), m_player(player) {}
    QString identity() const { return m_player->identity; }
    bool no() const { return false; }
    QStringList none() const { return {}; }
public Q_SLOTS:
    void Raise() {}
    void Quit() {}
private:
    MprisPlayer* m_player;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double Volume READ one)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanControl READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
public:
    explicit MprisPlayerAdaptor(MprisPlayer* player) : QDBusAbstractAdaptor(player), m_player(player) {}
    QString playbackStatus() const { return m_player->status; }
    QVariantMap metadata() const;
    double one() const { return 1.0; }
    qlonglong position() const { return 0; }
    bool yes() const { return true; }
public Q_SLOTS:
    void Play() { m_player->setStatus(QStringLiteral("Playing")); }
    void Pause() { m_player->setStatus(QStringLiteral("Paused")); }
    void PlayPause() { m_player->setStatus(m_player->status == QLatin1String("Playing") ? QStringLiteral("Paused") : QStringLiteral("Playing")); }
    void Stop() { m_player->setStatus(QStringLiteral("Stopped")); }
private:
    MprisPlayer* m_player;
};
