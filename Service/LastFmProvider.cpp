// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/LastFmProvider.h"
#include "Service/ServiceLogging.h"

#include "Service/UpstreamClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QtDebug>

#include <algorithm>
#include <cmath>

namespace {

enum LastFmError {
    InvalidParameters = 6, // for artist.getsimilar: the artist could not be found
    InvalidApiKey = 10,
    SuspendedApiKey = 26,
    RateLimitExceeded = 29,
};

} // namespace

LastFmProvider::LastFmProvider(const QUrl& baseUrl, const QString& apiKey, UpstreamClient* client, QObject* parent)
    : SimilarArtistProvider(parent)
    , m_baseUrl(baseUrl)
    , m_apiKey(apiKey)
    , m_client(client)
{
}

void LastFmProvider::lookup(const QString& artist, Done done)
{
    if (m_disabled || m_apiKey.isEmpty()) {
        done(ProviderAnswer::failed(QStringLiteral("Last.fm: no usable API key")));
        return;
    }
    if (m_pausedUntil && !m_pausedUntil->hasExpired()) {
        done(ProviderAnswer::failed(QStringLiteral("Last.fm: paused after a rate limit answer")));
        return;
    }
    QUrl url = upstreamUrl(m_baseUrl, QStringLiteral("/2.0/"));
    url.setQuery(encodedQuery({{QStringLiteral("method"), QStringLiteral("artist.getsimilar")},
                               {QStringLiteral("artist"), artist},
                               {QStringLiteral("api_key"), m_apiKey},
                               {QStringLiteral("autocorrect"), QStringLiteral("1")},
                               {QStringLiteral("limit"), QStringLiteral("50")},
                               {QStringLiteral("format"), QStringLiteral("json")}}));
    const QPointer<LastFmProvider> self(this);
    m_client->get(url, [self, done = std::move(done)](const UpstreamReply& reply) {
        if (!self)
            return;
        if (!reply.ok) {
            done(ProviderAnswer::failed(QStringLiteral("Last.fm: ") + reply.error));
            return;
        }
        // Last.fm sends its error objects with 4xx statuses too, so the body is read first.
        int code = 0;
        ProviderAnswer answer = parse(reply.body, &code);
        if (code == InvalidApiKey || code == SuspendedApiKey) {
            qCWarning(lcServiceUpstream).noquote() << "Last.fm refused the API key (error" << code
                                 << "); Last.fm is off until restart";
            self->m_disabled = true;
        } else if (code == RateLimitExceeded || reply.status == 429) {
            self->m_pausedUntil = QDeadlineTimer(rateLimitPauseMs);
            answer = ProviderAnswer::failed(QStringLiteral("Last.fm: rate limited"));
        } else if (code == 0 && reply.status != 200) {
            answer = ProviderAnswer::failed(QStringLiteral("Last.fm: HTTP %1").arg(reply.status));
        }
        done(answer);
    });
}

ProviderAnswer LastFmProvider::parse(const QByteArray& json, int* errorCode)
{
    *errorCode = 0;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return ProviderAnswer::failed(QStringLiteral("Last.fm: malformed answer"));
    const QJsonObject root = document.object();
    if (root.contains(QStringLiteral("error"))) {
        *errorCode = root.value(QStringLiteral("error")).toInt(-1);
        if (*errorCode == InvalidParameters)
            return ProviderAnswer::notFound();
        return ProviderAnswer::failed(QStringLiteral("Last.fm: error %1 %2")
                                          .arg(*errorCode)
                                          .arg(root.value(QStringLiteral("message")).toString()));
    }
    const QJsonValue list = root.value(QStringLiteral("similarartists")).toObject().value(QStringLiteral("artist"));
    QJsonArray items;
    if (list.isArray())
        items = list.toArray();
    else if (list.isObject()) // a single result may come as an object instead of a list of one
        items.append(list);
    else
        return ProviderAnswer::failed(QStringLiteral("Last.fm: answer without similar artists"));
    SimilarArtistList similar;
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        const QString name = item.value(QStringLiteral("name")).toString();
        const QJsonValue matchValue = item.value(QStringLiteral("match"));
        bool ok = matchValue.isDouble();
        double match = matchValue.toDouble();
        if (matchValue.isString())
            match = matchValue.toString().toDouble(&ok);
        if (name.isEmpty() || !ok || !std::isfinite(match))
            continue;
        const double rating = std::clamp(match, 0.0, 1.0) * 100.0;
        similar.append({name, rating, rating});
    }
    if (!items.isEmpty() && similar.isEmpty())
        return ProviderAnswer::failed(QStringLiteral("Last.fm: no readable similar artist"));
    if (similar.isEmpty())
        return ProviderAnswer::notFound();
    return ProviderAnswer::found(similar, 0);
}
