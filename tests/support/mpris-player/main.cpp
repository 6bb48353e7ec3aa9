// SPDX-License-Identifier: GPL-3.0-or-later
// test-mpris-player: a real MPRIS 2 player for tests, on the session bus of its environment.
//
//   test-mpris-player --name NAME [--identity TEXT] [--artist NAME]... [--status Playing|Paused|Stopped]
//                     [--title TEXT] [--plain-string-artist] [--no-metadata] [--hang]
//
// Registers org.mpris.MediaPlayer2.NAME, then prints "ready" on its standard output. Commands on
// standard input, one a line, change its state, emit PropertiesChanged and are answered "ok":
//   artist NAME      the current track's only artist (no NAME: the track has no artist)
//   artists A|B|...  several artists
//   status STATUS    the playback status
//   identity TEXT    the Identity
//   metadata on|off  whether there is a current track at all
//   quit             leave (so does the end of standard input)
// --hang makes the Metadata getter never answer, to test callers' time limits.
#include "MprisPlayer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QSocketNotifier>
#include <QThread>

#include <cstdio>
#include <unistd.h>

QVariantMap MprisPlayer::metadata() const
{
    if (noMetadata)
        return {};
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath("/org/corvale/test/track/1")));
    map.insert(QStringLiteral("xesam:title"), title);
    if (!artists.isEmpty()) {
        if (plainStringArtist)
            map.insert(QStringLiteral("xesam:artist"), artists.first());
        else
            map.insert(QStringLiteral("xesam:artist"), artists);
    }
    return map;
}

void MprisPlayer::setStatus(const QString& newStatus)
{
    status = newStatus;
    announce(QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlaybackStatus"), status);
}

void MprisPlayer::announce(const QString& interface, const QString& property, const QVariant& value)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/mpris/MediaPlayer2"),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << QVariantMap{{property, value}} << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    while (m_player->hang)
        QThread::sleep(3600);
    return m_player->metadata();
}

namespace {

void say(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool runCommand(MprisPlayer& player, const QString& line)
{
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString rest = line.section(QLatin1Char(' '), 1);
    const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
    if (command == QLatin1String("artist") || command == QLatin1String("artists")) {
        player.artists.clear();
        if (!rest.isEmpty())
            player.artists = command == QLatin1String("artist") ? QStringList{rest} : rest.split(QLatin1Char('|'));
        player.announce(playerInterface, QStringLiteral("Metadata"), player.metadata());
    } else if (command == QLatin1String("status")) {
        player.setStatus(rest);
    } else if (command == QLatin1String("identity")) {
        player.identity = rest;
        player.announce(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity"), rest);
    } else if (command == QLatin1String("metadata")) {
        player.noMetadata = rest != QLatin1String("on");
        player.announce(playerInterface, QStringLiteral("Metadata"), player.metadata());
    } else if (command == QLatin1String("quit")) {
        QCoreApplication::quit();
    } else {
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Bus name suffix."), QStringLiteral("name"),
                                  QStringLiteral("testplayer"));
    const QCommandLineOption identity(QStringLiteral("identity"), QStringLiteral("Identity (default: the name)."),
                                      QStringLiteral("text"));
    const QCommandLineOption artist(QStringLiteral("artist"), QStringLiteral("An artist of the track (repeatable)."),
                                    QStringLiteral("name"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("PlaybackStatus."), QStringLiteral("status"),
                                    QStringLiteral("Playing"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Track title."), QStringLiteral("text"),
                                   QStringLiteral("Test Track"));
    const QCommandLineOption plain(QStringLiteral("plain-string-artist"), QStringLiteral("Send xesam:artist as a string."));
    const QCommandLineOption noMetadata(QStringLiteral("no-metadata"), QStringLiteral("No current track."));
    const QCommandLineOption hang(QStringLiteral("hang"), QStringLiteral("Never answer Metadata."));
    parser.addOptions({name, identity, artist, status, title, plain, noMetadata, hang});
    parser.process(app);

    MprisPlayer player;
    player.identity = parser.isSet(identity) ? parser.value(identity) : parser.value(name);
    player.artists = parser.values(artist);
    player.status = parser.value(status);
    player.title = parser.value(title);
    player.plainStringArtist = parser.isSet(plain);
    player.noMetadata = parser.isSet(noMetadata);
    player.hang = parser.isSet(hang);
    new MprisRootAdaptor(&player);
    new MprisPlayerAdaptor(&player);

    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QStringLiteral("org.mpris.MediaPlayer2.") + parser.value(name);
    if (!bus.registerObject(QStringLiteral("/org/mpris/MediaPlayer2"), &player, QDBusConnection::ExportAdaptors)
        || !bus.registerService(service)) {
        std::fprintf(stderr, "test-mpris-player: cannot register %s: %s\n", qPrintable(service),
                     qPrintable(bus.lastError().message()));
        return 1;
    }

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            if (!line.isEmpty())
                say(runCommand(player, line) ? "ok" : "error unknown command");
        }
    });

    say("ready");
    return app.exec();
}
