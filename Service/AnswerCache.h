// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QSqlQuery;

// Answers that worked, in an SQLite file, keyed by the case-folded artist name. Entries are
// kept past their freshness so they can still be served when every upstream fails. The file
// is bounded: past `maxRows` rows or `maxBytes` of stored answers, the oldest go first.
class AnswerCache {
public:
    struct Limits {
        qint64 maxRows = 20000;
        qint64 maxBytes = 64LL * 1024 * 1024;
    };

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
    AnswerCache(const QString& path, Limits limits);
    ~AnswerCache();
    AnswerCache(const AnswerCache&) = delete;
    AnswerCache& operator=(const AnswerCache&) = delete;

    bool isPersistent() const { return m_persistent; }
    std::optional<Entry> find(const QString& artist) const;
    // Stores the entry, replacing one of the same name. A failure is logged once, when the
    // cache starts failing, and once more when it works again; lookups go on either way.
    void store(const Entry& entry);
    qint64 rowCount() const;

private:
    bool open(const QString& path);
    void trim();

    QString m_connection;
    // Prepared once: preparing a statement cost more than running it.
    std::unique_ptr<QSqlQuery> m_findQuery;
    std::unique_ptr<QSqlQuery> m_storeQuery;
    Limits m_limits;
    // Upper bounds of the rows and stored bytes in the file since they were last counted (-1:
    // not known): counting reads every row, so it is done only when a bound passes a limit,
    // after a trim, and every `recountEvery` stores in case another program writes the file.
    static constexpr int recountEvery = 256;
    qint64 m_rowsAtMost = -1;
    qint64 m_bytesAtMost = 0;
    int m_storesSinceCount = 0;
    bool m_persistent = false;
    bool m_storeFailing = false;
};
