// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/AnswerCache.h"
#include "Service/ServiceLogging.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QtDebug>

namespace {

QByteArray encode(const SimilarArtistList& artists)
{
    QJsonArray array;
    for (const SimilarArtist& artist : artists)
        array.append(QJsonArray{artist.name, artist.rating, artist.popularity});
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<SimilarArtistList> decode(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isArray())
        return std::nullopt;
    SimilarArtistList artists;
    for (const QJsonValue& value : document.array()) {
        const QJsonArray row = value.toArray();
        if (row.size() != 3 || !row[0].isString() || !row[1].isDouble() || !row[2].isDouble())
            return std::nullopt;
        artists.append({row[0].toString(), row[1].toDouble(), row[2].toDouble()});
    }
    return artists;
}

} // namespace

AnswerCache::AnswerCache(const QString& path)
    : AnswerCache(path, Limits())
{
}

AnswerCache::AnswerCache(const QString& path, Limits limits)
    : m_connection(QStringLiteral("corvale-answer-cache-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_limits(limits)
{
    m_persistent = open(path);
    if (!m_persistent) {
        qCWarning(lcServiceCache).noquote() << "cannot use the cache file" << path << "- answers are kept in memory";
        QSqlDatabase::removeDatabase(m_connection);
        open(QStringLiteral(":memory:"));
    }
}

AnswerCache::~AnswerCache()
{
    m_findQuery.reset();
    m_storeQuery.reset();
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool AnswerCache::open(const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (path != QLatin1String(":memory:"))
        QDir().mkpath(QFileInfo(path).absolutePath());
    db.setDatabaseName(path);
    if (!db.open())
        return false;
    QSqlQuery query(db);
    const bool ok = query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) // readers never wait for a write
        // A cache: after a power loss the last answers stored may be gone, never the file;
        // no flush to disk on every answer stored.
        && query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))
        && query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS answers ("
                                     "key TEXT PRIMARY KEY, artist TEXT NOT NULL, provider TEXT NOT NULL,"
                                     "fetched INTEGER NOT NULL, popularity REAL NOT NULL, artists TEXT NOT NULL)"))
        && query.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS answers_by_age ON answers (fetched)"));
    if (!ok) {
        db.close();
        return false;
    }
    query.prepare(QStringLiteral("DELETE FROM answers WHERE fetched < ?"));
    query.addBindValue(QDateTime::currentSecsSinceEpoch() - keepDays * 86400);
    query.exec();
    trim(); // a file from a build with larger limits
    m_findQuery = std::make_unique<QSqlQuery>(db);
    m_findQuery->setForwardOnly(true);
    m_storeQuery = std::make_unique<QSqlQuery>(db);
    if (!m_findQuery->prepare(QStringLiteral("SELECT artist, provider, fetched, popularity, artists FROM answers WHERE key = ?"))
        || !m_storeQuery->prepare(QStringLiteral("INSERT OR REPLACE INTO answers (key, artist, provider, fetched, popularity, artists)"
                                                 " VALUES (?, ?, ?, ?, ?, ?)"))) {
        m_findQuery.reset();
        m_storeQuery.reset();
        db.close();
        return false;
    }
    return true;
}

std::optional<AnswerCache::Entry> AnswerCache::find(const QString& artist) const
{
    if (!m_findQuery)
        return std::nullopt; // not even a cache in memory could be opened
    QSqlQuery& query = *m_findQuery;
    query.bindValue(0, foldArtistName(artist));
    if (!query.exec() || !query.next()) {
        query.finish();
        return std::nullopt;
    }
    const auto artists = decode(query.value(4).toByteArray());
    std::optional<Entry> entry;
    if (artists) // an unreadable row is as good as absent: the next answer replaces it
        entry = Entry{query.value(0).toString(), query.value(1).toString(),
                      QDateTime::fromSecsSinceEpoch(query.value(2).toLongLong()), query.value(3).toDouble(), *artists};
    query.finish(); // ends the read, so writers never wait for it
    return entry;
}

void AnswerCache::store(const Entry& entry)
{
    if (!m_storeQuery) { // not even a cache in memory could be opened
        if (!m_storeFailing)
            qCWarning(lcServiceCache).noquote() << "cannot store answers in the cache: it could not be opened";
        m_storeFailing = true;
        return;
    }
    QSqlQuery& query = *m_storeQuery;
    query.bindValue(0, foldArtistName(entry.artist));
    query.bindValue(1, entry.artist);
    query.bindValue(2, entry.provider);
    query.bindValue(3, entry.fetched.toSecsSinceEpoch());
    query.bindValue(4, entry.popularity);
    const QByteArray encoded = encode(entry.artists);
    query.bindValue(5, QString::fromUtf8(encoded));
    const bool stored = query.exec();
    const QString error = stored ? QString() : query.lastError().text();
    query.finish();
    if (!stored && !m_storeFailing)
        qCWarning(lcServiceCache).noquote() << "cannot store answers in the cache:" << error;
    else if (stored && m_storeFailing)
        qCInfo(lcServiceCache).noquote() << "the cache stores answers again";
    m_storeFailing = !stored;
    if (!stored)
        return;
    // What the limits count of this row: its stored list and name, in bytes.
    m_bytesAtMost += encoded.size() + entry.artist.toUtf8().size();
    if (m_rowsAtMost < 0 || ++m_rowsAtMost > m_limits.maxRows || m_bytesAtMost > m_limits.maxBytes
        || ++m_storesSinceCount >= recountEvery)
        trim();
}

qint64 AnswerCache::rowCount() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM answers")) && query.next() ? query.value(0).toLongLong() : 0;
}

// Removes the oldest rows until both limits hold.
void AnswerCache::trim()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("SELECT COUNT(*), TOTAL(LENGTH(CAST(artists AS BLOB)) + LENGTH(CAST(artist AS BLOB))) FROM answers"))
        || !query.next())
        return;
    m_storesSinceCount = 0;
    const qint64 rows = query.value(0).toLongLong();
    const double bytes = query.value(1).toDouble();
    if (rows <= m_limits.maxRows && bytes <= double(m_limits.maxBytes)) {
        m_rowsAtMost = rows;
        m_bytesAtMost = qint64(bytes);
        return;
    }
    m_rowsAtMost = -1; // counted again at the next store
    query.finish();
    // Newest first, each row with the count and bytes of the rows up to it: every row past
    // either limit goes.
    query.prepare(QStringLiteral(
        "DELETE FROM answers WHERE key IN (SELECT key FROM ("
        " SELECT key, ROW_NUMBER() OVER newest AS n,"
        "  SUM(LENGTH(CAST(artists AS BLOB)) + LENGTH(CAST(artist AS BLOB))) OVER newest AS bytes"
        " FROM answers WINDOW newest AS (ORDER BY fetched DESC, rowid DESC))"
        " WHERE n > ? OR bytes > ?)"));
    query.addBindValue(m_limits.maxRows);
    query.addBindValue(m_limits.maxBytes);
    if (!query.exec())
        qCWarning(lcServiceCache).noquote() << "cannot trim the cache:" << query.lastError().text();
}
