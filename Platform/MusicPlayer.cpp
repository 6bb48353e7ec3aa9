// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/MusicPlayer.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QVariantMap>

#include <utility>

namespace {

const QString mprisPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString mprisPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// The value of a Properties.Get reply: the variant inside the reply's single QDBusVariant.
QVariant propertyValue(const QDBusMessage& reply)
{
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.isEmpty())
        return {};
    return qvariant_cast<QDBusVariant>(arguments.first()).variant();
}

// The first artist of an xesam:artist value: a list of strings, or a plain string.
QString firstArtist(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const auto argument = qvariant_cast<QDBusArgument>(value);
        if (argument.currentType() == QDBusArgument::ArrayType) {
            const QStringList list = qdbus_cast<QStringList>(argument);
            return list.isEmpty() ? QString() : list.first();
        }
        if (argument.currentType() == QDBusArgument::VariantType)
            return firstArtist(qdbus_cast<QDBusVariant>(argument).variant());
        return {};
    }
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return firstArtist(qvariant_cast<QDBusVariant>(value).variant());
    if (value.metaType() == QMetaType::fromType<QStringList>()) {
        const QStringList list = value.toStringList();
        return list.isEmpty() ? QString() : list.first();
    }
    if (value.metaType() == QMetaType::fromType<QVariantList>()) {
        const QVariantList list = value.toList();
        return list.isEmpty() ? QString() : firstArtist(list.first());
    }
    if (value.metaType() == QMetaType::fromType<QString>())
        return value.toString();
    return {};
}

QVariantMap metadataMap(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return qdbus_cast<QVariantMap>(qvariant_cast<QDBusArgument>(value));
    return value.toMap();
}

// One query: list the players, pick the one that counts, read its metadata. Owned by the
// caller's context object (or the application), so it dies with the context; deletes itself
// once it has answered.
class ArtistQuery : public QObject {
public:
    using Done = std::function<void(const PlayerAnswer&)>;

    ArtistQuery(const QDBusConnection& bus, const QString& followedIdentity, QObject* owner, Done done)
        : QObject(owner)
        , m_bus(bus)
        , m_followed(followedIdentity)
        , m_done(std::move(done))
        , m_deadline(MusicPlayer::deadlineMs)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { onDeadline(); });
    }

    void start()
    {
        if (!m_bus.isConnected()) {
            PlayerAnswer answer;
            answer.errorText = QStringLiteral("D-Bus session bus not connected: %1").arg(m_bus.lastError().message());
            finish(answer);
            return;
        }
        m_timer.start(MusicPlayer::deadlineMs);
        m_waitingFor = QStringLiteral("the D-Bus session bus");
        const QDBusMessage listNames = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
        call(listNames, [this](const QDBusMessage& reply) { onNames(reply); });
    }

private:
    void call(const QDBusMessage& message, std::function<void(const QDBusMessage&)> handler)
    {
        const int timeoutMs = int(qMax<qint64>(1, m_deadline.remainingTime()));
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, timeoutMs), this);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this,
                         [this, watcher, handler = std::move(handler)] {
                             watcher->deleteLater();
                             if (!m_finished)
                                 handler(watcher->reply());
                         });
    }

    QDBusMessage getProperty(const QString& busName, const QString& interface, const QString& property) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            busName, mprisPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        message << interface << property;
        return message;
    }

    void onNames(const QDBusMessage& reply)
    {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            PlayerAnswer answer;
            answer.errorText = QStringLiteral("D-Bus ListNames failed: %1").arg(reply.errorMessage());
            finish(answer);
            return;
        }
        QStringList players, browsers;
        const QStringList names = reply.arguments().first().toStringList();
        for (const QString& name : names) {
            if (!name.startsWith(mprisPrefix))
                continue;
            (MusicPlayer::isBrowserBusName(name) ? browsers : players).append(name);
        }
        players.sort();
        browsers.sort();

        if (!m_followed.isEmpty()) {
            // The followed identity picks among every player, browsers included: the user chose it.
            m_candidates = players + browsers;
            m_property = QStringLiteral("Identity");
        } else {
            m_candidates = players.isEmpty() ? browsers : players;
            m_property = QStringLiteral("PlaybackStatus");
        }
        if (m_candidates.isEmpty()) {
            finish(PlayerAnswer{});
            return;
        }
        if (m_followed.isEmpty() && m_candidates.size() == 1) {
            readMetadata(m_candidates.first());
            return;
        }
        // Ask every candidate at once; decide as soon as the answers in bus-name order allow it.
        m_values.assign(m_candidates.size(), std::nullopt);
        const QString& interface = m_followed.isEmpty() ? playerInterface : rootInterface;
        m_waitingFor = QStringLiteral("the MPRIS players");
        for (int i = 0; i < m_candidates.size(); ++i) {
            call(getProperty(m_candidates[i], interface, m_property), [this, i](const QDBusMessage& r) {
                m_values[i] = r.type() == QDBusMessage::ReplyMessage ? propertyValue(r).toString() : QString();
                choose();
            });
        }
    }

    void choose()
    {
        const QString wanted = m_followed.isEmpty() ? QStringLiteral("Playing") : m_followed;
        for (size_t i = 0; i < m_values.size(); ++i) {
            if (!m_values[i])
                return; // an earlier player has not answered yet
            if (*m_values[i] == wanted) {
                readMetadata(m_candidates[int(i)]);
                return;
            }
        }
        if (!m_followed.isEmpty())
            finish(PlayerAnswer{}); // no player with the followed identity
        else
            readMetadata(m_candidates.first()); // nothing plays: the first player
    }

    void readMetadata(const QString& busName)
    {
        m_player = busName;
        m_waitingFor = QStringLiteral("the MPRIS player %1").arg(busName);
        call(getProperty(busName, playerInterface, QStringLiteral("Metadata")),
             [this](const QDBusMessage& reply) { onMetadata(reply); });
    }

    void onMetadata(const QDBusMessage& reply)
    {
        PlayerAnswer answer;
        answer.isRunning = true;
        if (reply.type() != QDBusMessage::ReplyMessage) {
            answer.errorText = QStringLiteral("MPRIS player %1: %2: %3")
                                   .arg(m_player, reply.errorName(), reply.errorMessage());
            finish(answer);
            return;
        }
        const QVariantMap metadata = metadataMap(propertyValue(reply));
        if (metadata.isEmpty()) {
            answer.errorText = QStringLiteral("MPRIS player %1: no current track").arg(m_player);
            finish(answer);
            return;
        }
        const QString artist = MusicPlayer::mainArtist(firstArtist(metadata.value(QStringLiteral("xesam:artist"))));
        if (artist.isEmpty())
            answer.errorText = QStringLiteral("MPRIS player %1: the current track has no artist").arg(m_player);
        else
            answer.artist = artist;
        finish(answer);
    }

    void onDeadline()
    {
        PlayerAnswer answer;
        // Without a followed identity any player counts; with one, only once it has been found.
        answer.isRunning = !m_player.isEmpty() || (m_followed.isEmpty() && !m_candidates.isEmpty());
        answer.errorText = QStringLiteral("no answer from %1 within %2 ms").arg(m_waitingFor).arg(MusicPlayer::deadlineMs);
        finish(answer);
    }

    // Answers from a fresh turn of the event loop, never from inside queryCurrentArtist or a
    // D-Bus callback, so the caller may destroy the context in `done`.
    void finish(const PlayerAnswer& answer)
    {
        if (m_finished)
            return;
        m_finished = true;
        m_timer.stop();
        QMetaObject::invokeMethod(this, [this, answer] {
            Done done = std::move(m_done);
            deleteLater();
            done(answer); // may destroy the context and with it this query: touch nothing after
        }, Qt::QueuedConnection);
    }

    QDBusConnection m_bus;
    QString m_followed;
    Done m_done;
    QDeadlineTimer m_deadline;
    QTimer m_timer;
    bool m_finished = false;
    QString m_waitingFor;
    QStringList m_candidates;
    QString m_property;
    std::vector<std::optional<QString>> m_values;
    QString m_player;
};

// Hears the bus for players' announcements and hands each relevant one on.
class PlayerChangeWatcher : public QObject {
    Q_OBJECT
public:
    PlayerChangeWatcher(std::function<void()> changed, QObject* parent)
        : QObject(parent)
        , m_changed(std::move(changed))
    {
    }

public Q_SLOTS:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated)
    {
        if (interface != QLatin1String("org.mpris.MediaPlayer2.Player"))
            return;
        for (const char* property : {"Metadata", "PlaybackStatus"}) {
            const QString name = QString::fromLatin1(property);
            if (changed.contains(name) || invalidated.contains(name)) {
                m_changed();
                return;
            }
        }
    }
    void nameOwnerChanged(const QString& name, const QString&, const QString&)
    {
        if (name.startsWith(QLatin1String("org.mpris.MediaPlayer2.")))
            m_changed();
    }

private:
    std::function<void()> m_changed;
};

} // namespace

void MusicPlayer::watchForChanges(QObject* context, std::function<void()> changed)
{
    auto* watcher = new PlayerChangeWatcher(std::move(changed), context);
    // Any sender: every MPRIS player publishes its state at this path.
    m_bus.connect(QString(), QStringLiteral("/org/mpris/MediaPlayer2"), QStringLiteral("org.freedesktop.DBus.Properties"),
                  QStringLiteral("PropertiesChanged"), watcher, SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    m_bus.connect(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
                  QStringLiteral("NameOwnerChanged"), watcher, SLOT(nameOwnerChanged(QString, QString, QString)));
}

MusicPlayer::MusicPlayer(QDBusConnection bus)
    : m_bus(std::move(bus))
{
}

void MusicPlayer::queryCurrentArtist(const QString& followedIdentity, QObject* context,
                                     std::function<void(const PlayerAnswer&)> done)
{
    QObject* owner = context;
    if (!owner && QCoreApplication::instance() && QCoreApplication::instance()->thread() == QThread::currentThread())
        owner = QCoreApplication::instance();
    auto* query = new ArtistQuery(m_bus, followedIdentity, owner, std::move(done));
    query->start();
}

QString MusicPlayer::mainArtist(const QString& credit)
{
    static const QRegularExpression featuring(QStringLiteral(R"(\s+[(\[]?(?:feat\.|ft\.|featuring)\s)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = credit.trimmed();
    const QRegularExpressionMatch match = featuring.match(trimmed);
    return match.hasMatch() ? trimmed.left(match.capturedStart()).trimmed() : trimmed;
}

bool MusicPlayer::isBrowserBusName(const QString& busName)
{
    static const QStringList browsers = {
        QStringLiteral("org.mpris.MediaPlayer2.chromium"), QStringLiteral("org.mpris.MediaPlayer2.chrome"),
        QStringLiteral("org.mpris.MediaPlayer2.firefox"), QStringLiteral("org.mpris.MediaPlayer2.brave")};
    for (const QString& prefix : browsers) {
        if (busName.startsWith(prefix))
            return true;
    }
    return false;
}

#include "MusicPlayer.moc"
