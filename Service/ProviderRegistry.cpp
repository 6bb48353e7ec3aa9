// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/ProviderRegistry.h"
#include "Service/ServiceLogging.h"

#include "Service/AnswerCache.h"

#include <QDateTime>
#include <QSet>
#include <QtDebug>

#include <algorithm>
#include <cmath>

struct ProviderRegistry::Lookup {
    QString artist;
    QString key;
    QList<Done> waiting;
    bool anyFailed = false;
};

ProviderRegistry::ProviderRegistry(AnswerCache* cache, qint64 maxAgeSeconds, QObject* parent)
    : QObject(parent)
    , m_cache(cache)
    , m_maxAgeSeconds(maxAgeSeconds)
{
}

ProviderRegistry::~ProviderRegistry() = default;

void ProviderRegistry::addProvider(SimilarArtistProvider* provider)
{
    provider->setParent(this);
    m_providers.append(provider);
}

QStringList ProviderRegistry::providerNames() const
{
    QStringList names;
    for (const SimilarArtistProvider* provider : m_providers)
        names.append(provider->name());
    return names;
}

bool ProviderRegistry::isSendableName(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('<')))
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(c))
            return false; // half of a pair
        if (QChar::category(c) == QChar::Other_Control || QChar::isNonCharacter(c) || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

SimilarArtistList ProviderRegistry::cleaned(const SimilarArtistList& artists, const QString& asked)
{
    QSet<QString> seen{foldArtistName(asked)};
    SimilarArtistList result;
    for (SimilarArtist artist : artists) {
        artist.name = artist.name.simplified();
        if (artist.name.size() > maxNameLength || !isSendableName(artist.name) || !std::isfinite(artist.rating)
            || !std::isfinite(artist.popularity))
            continue;
        const QString key = foldArtistName(artist.name);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        artist.rating = std::clamp(artist.rating, 0.0, 100.0);
        artist.popularity = std::clamp(artist.popularity, 0.0, 100.0);
        result.append(artist);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const SimilarArtist& a, const SimilarArtist& b) { return a.rating > b.rating; });
    if (result.size() > maxResults)
        result.resize(maxResults);
    return result;
}

void ProviderRegistry::lookup(const QString& artist, Done done)
{
    const QString key = foldArtistName(artist);
    // A row dated in the future (a clock set back, a copied file) is stale, not fresh forever.
    if (const auto entry = m_cache->find(artist)) {
        const qint64 age = entry->fetched.secsTo(QDateTime::currentDateTimeUtc());
        if (age >= 0 && age < m_maxAgeSeconds) {
            done({LookupResult::Kind::Found, entry->artists, entry->popularity, QStringLiteral("cache"),
                  entry->fetched.addSecs(m_maxAgeSeconds)});
            return;
        }
    }
    if (const auto it = m_notFound.constFind(key); it != m_notFound.constEnd()) {
        if (!it->hasExpired()) {
            done({LookupResult::Kind::NotFound, {}, 0, QStringLiteral("cache"), {}});
            return;
        }
        m_notFound.erase(it);
    }
    if (const auto running = m_running.value(key)) {
        running->waiting.append(std::move(done));
        return;
    }
    auto lookup = std::make_shared<Lookup>();
    lookup->artist = artist.simplified();
    lookup->key = key;
    lookup->waiting.append(std::move(done));
    m_running.insert(key, lookup);
    tryProvider(lookup, 0);
}

void ProviderRegistry::tryProvider(const std::shared_ptr<Lookup>& lookup, qsizetype index)
{
    if (index >= m_providers.size()) {
        if (auto stale = m_cache->find(lookup->artist)) {
            qCInfo(lcServiceUpstream).noquote() << "serving a stale answer for" << lookup->artist;
            finish(lookup, {LookupResult::Kind::Found, stale->artists, stale->popularity, QStringLiteral("stale"), {}});
        } else if (lookup->anyFailed) {
            finish(lookup, {LookupResult::Kind::Unavailable, {}, 0, {}, {}});
        } else {
            if (m_notFound.size() >= notFoundMemorySize)
                m_notFound.clear();
            m_notFound.insert(lookup->key, QDeadlineTimer(notFoundMemoryMs));
            finish(lookup, {LookupResult::Kind::NotFound, {}, 0, {}, {}});
        }
        return;
    }
    SimilarArtistProvider* provider = m_providers.at(index);
    provider->lookup(lookup->artist, [this, lookup, index, provider](const ProviderAnswer& answer) {
        if (answer.outcome == ProviderAnswer::Outcome::Found) {
            const SimilarArtistList artists = cleaned(answer.artists, lookup->artist);
            if (!artists.isEmpty()) {
                const double popularity = std::isfinite(answer.popularity) ? std::clamp(answer.popularity, 0.0, 100.0) : 0;
                const QDateTime fetched = QDateTime::currentDateTimeUtc();
                m_cache->store({lookup->artist, provider->name(), fetched, popularity, artists});
                finish(lookup, {LookupResult::Kind::Found, artists, popularity, provider->name(), fetched.addSecs(m_maxAgeSeconds)});
                return;
            }
        } else if (answer.outcome == ProviderAnswer::Outcome::Failed) {
            lookup->anyFailed = true;
            qCInfo(lcServiceUpstream).noquote() << provider->name() << "failed for" << lookup->artist << "-"
                              << answer.detail;
        }
        tryProvider(lookup, index + 1);
    });
}

void ProviderRegistry::finish(const std::shared_ptr<Lookup>& lookup, const LookupResult& result)
{
    m_running.remove(lookup->key);
    const QList<Done> waiting = std::exchange(lookup->waiting, {});
    for (const Done& done : waiting)
        done(result);
}
