// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QObject>

#include <memory>

class AnswerCache;

// The result of one lookup, as the service answers it.
struct LookupResult {
    enum class Kind {
        Found,       // similar artists (fresh, cached or stale)
        NotFound,    // every provider that answered does not know the artist
        Unavailable, // no provider could answer and nothing is cached
    };
    Kind kind = Kind::NotFound;
    SimilarArtistList artists; // most similar first, 0–100, names safe to send
    double popularity = 0;     // of the asked artist
    QString source;            // provider name, "cache" or "stale"
    QDateTime freshUntil;      // when a found answer stops being fresh; invalid for the others
};

// Asks the providers in order until one finds the artist; answers from the cache while
// they are fresh and from the stale cache when nothing else works. Lookups of the same
// name that overlap share one upstream lookup.
class ProviderRegistry : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const LookupResult&)>;

    static constexpr int maxResults = 50;
    static constexpr int maxNameLength = 500; // longer names from upstream are dropped
    static constexpr int notFoundMemoryMs = 3600 * 1000;
    static constexpr int notFoundMemorySize = 2000;

    ProviderRegistry(AnswerCache* cache, qint64 maxAgeSeconds, QObject* parent = nullptr);
    ~ProviderRegistry() override;

    void addProvider(SimilarArtistProvider* provider); // takes ownership
    QStringList providerNames() const;

    void lookup(const QString& artist, Done done);

    // Names the answer format cannot carry and overlong names are dropped, ratings clamped to
    // 0–100, the asked artist and repeated names removed, the rest sorted most similar first
    // and cut to size.
    static SimilarArtistList cleaned(const SimilarArtistList& artists, const QString& asked);
    // Not empty, no "<", and only characters XML can carry: no control characters, no
    // non-characters, no U+FFFD (a sign of a broken encoding upstream) and no lone
    // surrogates. Characters outside the Basic Multilingual Plane are names like any other.
    static bool isSendableName(const QString& name);

private:
    struct Lookup;
    void tryProvider(const std::shared_ptr<Lookup>& lookup, qsizetype index);
    void finish(const std::shared_ptr<Lookup>& lookup, const LookupResult& result);

    AnswerCache* m_cache;
    qint64 m_maxAgeSeconds;
    QList<SimilarArtistProvider*> m_providers;
    QHash<QString, std::shared_ptr<Lookup>> m_running;  // folded name → lookup in progress
    QHash<QString, QDeadlineTimer> m_notFound;          // folded name → remembered until
};
