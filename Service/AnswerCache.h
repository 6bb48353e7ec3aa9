#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Answers that worked, in an SQLite file, keyed by the case-folded artist name. Entries are
// kept past their freshness so they can still be served when every upstream fails.
class AnswerCache {
public:
    struct Entry {
        QString artist;
        QString provider;
        QDateTime fetched;
        double popularity = 0;
        SimilarArtistList artists;
    };

    static constexpr qint64 keepDays = 365; // older entries are removed at start

    // Opens (or creates) the file; if that fails the cache lives in memory for this run.
    explicit AnswerCache(const QString& path);
    ~AnswerCache();
    AnswerCache(const AnswerCache&) = delete;
    AnswerCache& operator=(const AnswerCache&) = delete;

    bool isPersistent() const { return m_persistent; }
    std::optional<Entry> find(const QString& artist) const;
    void store(const Entry& entry);

private:
    bool open(const QString& path);

    QString m_connection;
    bool m_persistent = false;
};
