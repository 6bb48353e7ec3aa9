// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/ListenBrainzProvider.h"

#include "Service/UpstreamClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <cmath>

namespace {

bool isMbid(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    return pattern.match(text).hasMatch();
}

QString luceneQuoted(const QString& text)
{
    QString quoted;
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}


// A JSON number, or a string holding one (some answers quote their numbers).
std::optional<double> number(const QJsonValue& value)
{
    if (value.isDouble())
        return value.toDouble();
    if (value.isString()) {
        bool ok = false;
        const double d = value.toString().toDouble(&ok);
        if (ok)
            return d;
    }
    return std::nullopt;
}

} // namespace

ListenBrainzProvider::ListenBrainzProvider(const Settings& settings, UpstreamClient* client, QObject* parent)
    : SimilarArtistProvider(parent)
    , m_settings(settings)
    , m_client(client)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ListenBrainzProvider::pump);
}

void ListenBrainzProvider::lookup(const QString& artist, Done done)
{
    if (m_queue.size() >= m_settings.maxQueued) {
        done(ProviderAnswer::failed(QStringLiteral("too many MusicBrainz searches waiting")));
        return;
    }
    m_queue.enqueue({artist, std::move(done)});
    if (!m_timer->isActive())
        pump();
}

void ListenBrainzProvider::pump()
{
    if (m_queue.isEmpty())
        return;
    const qint64 wait = m_sinceLast.isValid()
        ? m_settings.musicBrainzIntervalMs + m_holdOffMs - m_sinceLast.elapsed()
        : 0;
    if (wait > 0) {
        m_timer->start(int(wait));
        return;
    }
    m_holdOffMs = 0;
    m_sinceLast.start();
    searchMusicBrainz(m_queue.dequeue());
    if (!m_queue.isEmpty())
        m_timer->start(m_settings.musicBrainzIntervalMs);
}

void ListenBrainzProvider::searchMusicBrainz(const Pending& pending)
{
    QUrl url = upstreamUrl(m_settings.musicBrainzUrl, QStringLiteral("/ws/2/artist/"));
    url.setQuery(encodedQuery({{QStringLiteral("query"), QStringLiteral("artist:") + luceneQuoted(pending.artist)},
                               {QStringLiteral("fmt"), QStringLiteral("json")},
                               {QStringLiteral("limit"), QStringLiteral("5")}}));

    const QPointer<ListenBrainzProvider> self(this);
    m_client->get(url, [self, pending](const UpstreamReply& reply) {
        if (!self)
            return;
        if (!reply.ok) {
            pending.done(ProviderAnswer::failed(QStringLiteral("MusicBrainz: ") + reply.error));
            return;
        }
        if (reply.status == 503 || reply.status == 429) {
            // MusicBrainz answers 503 when a client goes too fast: wait longer before the next search.
            self->m_holdOffMs = qBound(1000, reply.retryAfterSeconds * 1000, 60000);
            pending.done(ProviderAnswer::failed(QStringLiteral("MusicBrainz: rate limited (%1)").arg(reply.status)));
            return;
        }
        if (reply.status != 200) {
            pending.done(ProviderAnswer::failed(QStringLiteral("MusicBrainz: HTTP %1").arg(reply.status)));
            return;
        }
        bool malformed = false;
        const auto match = bestMatch(reply.body, pending.artist, self->m_settings.minimumScore, &malformed);
        if (malformed)
            pending.done(ProviderAnswer::failed(QStringLiteral("MusicBrainz: malformed answer")));
        else if (!match)
            pending.done(ProviderAnswer::notFound());
        else
            self->readSimilar(*match, pending.done);
    });
}

std::optional<ListenBrainzProvider::Match> ListenBrainzProvider::bestMatch(const QByteArray& json, const QString& asked,
                                                                           int minimumScore, bool* malformed)
{
    *malformed = false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() || !document.object().value(QStringLiteral("artists")).isArray()) {
        *malformed = true;
        return std::nullopt;
    }
    const QString folded = foldArtistName(asked);
    std::optional<Match> best;
    bool bestExact = false;
    for (const QJsonValue& value : document.object().value(QStringLiteral("artists")).toArray()) {
        const QJsonObject artist = value.toObject();
        const QString id = artist.value(QStringLiteral("id")).toString();
        const QString name = artist.value(QStringLiteral("name")).toString();
        const auto score = number(artist.value(QStringLiteral("score")));
        if (!isMbid(id) || name.isEmpty() || !score || *score < minimumScore)
            continue;
        const bool exact = foldArtistName(name) == folded;
        // Highest score first; among equal scores, a name that matches exactly.
        if (!best || *score > best->score || (*score == best->score && exact && !bestExact)) {
            best = Match{id, name, int(*score)};
            bestExact = exact;
        }
    }
    return best;
}

void ListenBrainzProvider::readSimilar(const Match& match, const Done& done)
{
    QUrl url = upstreamUrl(m_settings.listenBrainzUrl, QStringLiteral("/similar-artists/json"));
    url.setQuery(encodedQuery({{QStringLiteral("artist_mbids"), match.mbid},
                               {QStringLiteral("algorithm"), m_settings.algorithm}}));
    const QPointer<ListenBrainzProvider> self(this);
    m_client->get(url, [self, match, done](const UpstreamReply& reply) {
        if (!self)
            return;
        if (!reply.ok) {
            done(ProviderAnswer::failed(QStringLiteral("ListenBrainz: ") + reply.error));
            return;
        }
        if (reply.status != 200) {
            done(ProviderAnswer::failed(QStringLiteral("ListenBrainz: HTTP %1").arg(reply.status)));
            return;
        }
        const auto similar = parseSimilar(reply.body, match.mbid, match.score);
        if (!similar)
            done(ProviderAnswer::failed(QStringLiteral("ListenBrainz: malformed answer")));
        else if (similar->isEmpty())
            done(ProviderAnswer::notFound());
        else
            done(ProviderAnswer::found(*similar, match.score));
    });
}

// The labs answer is a list of rows {"artist_mbid", "name", "score", …}; older answers wrap
// the rows in {"type": "dataset", "data": [...]} entries. Both are read.
std::optional<SimilarArtistList> ListenBrainzProvider::parseSimilar(const QByteArray& json, const QString& mbid,
                                                                    double popularity)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QJsonArray rows;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        if (object.value(QStringLiteral("type")).toString() == QLatin1String("dataset")) {
            for (const QJsonValue& row : object.value(QStringLiteral("data")).toArray())
                rows.append(row);
        } else if (object.contains(QStringLiteral("name"))) {
            rows.append(object);
        }
    }
    struct Row {
        QString name;
        double score;
    };
    QList<Row> read;
    double top = 0;
    for (const QJsonValue& value : rows) {
        const QJsonObject row = value.toObject();
        const QString name = row.value(QStringLiteral("name")).toString();
        const auto score = number(row.value(QStringLiteral("score")));
        if (name.isEmpty() || !score || !std::isfinite(*score) || *score <= 0
            || row.value(QStringLiteral("artist_mbid")).toString() == mbid)
            continue;
        read.append({name, *score});
        top = std::max(top, *score);
    }
    if (!rows.isEmpty() && read.isEmpty())
        return std::nullopt; // rows of a shape we do not know: not an answer to keep
    SimilarArtistList similar;
    for (const Row& row : read)
        similar.append({row.name, row.score / top * 100.0, popularity});
    return similar;
}
