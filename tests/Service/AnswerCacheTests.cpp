// SPDX-License-Identifier: GPL-3.0-or-later
// The answer cache on a real SQLite file: its bounds and how it reports failing stores.
#include "Service/AnswerCache.h"

#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

AnswerCache::Entry entry(const QString& artist, qint64 ageDays, int similarCount = 1)
{
    SimilarArtistList similar;
    for (int i = 0; i < similarCount; ++i)
        similar.append({QStringLiteral("Similar %1 ").arg(i, 2).leftJustified(100, QLatin1Char('x')), 50, 50});
    return {artist, QStringLiteral("listenbrainz"), QDateTime::currentDateTimeUtc().addDays(-ageDays), 50, similar};
}

// Runs one statement on the file through a connection of its own, as another program would.
void runOnFile(const QString& path, const QString& statement)
{
    const QString name = QStringLiteral("other-program");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(statement));
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

TEST(AnswerCacheLimits, TheOldestRowsGoFirstPastEitherLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cache.sqlite"));
    {
        AnswerCache cache(path, {3, 1024 * 1024});
        for (const auto& [artist, age] : {std::pair{"Oldest", 50}, {"Newest", 1}, {"Old", 40}, {"Middle", 20}, {"Newer", 10}})
            cache.store(entry(QString::fromUtf8(artist), age));
        EXPECT_EQ(cache.rowCount(), 3);
        EXPECT_FALSE(cache.find(QStringLiteral("Oldest")));
        EXPECT_FALSE(cache.find(QStringLiteral("Old")));
        for (const char* kept : {"Middle", "Newer", "Newest"})
            EXPECT_TRUE(cache.find(QString::fromUtf8(kept))) << kept;
    }
    // Rows of some 6.5 KB each (60 names of 100 characters), under a 16 KB limit: the two newest stay.
    AnswerCache bytes(dir.filePath(QStringLiteral("bytes.sqlite")), {100, 16 * 1024});
    for (int age = 5; age >= 1; --age)
        bytes.store(entry(QStringLiteral("Big %1").arg(age), age, 60));
    EXPECT_EQ(bytes.rowCount(), 2);
    EXPECT_TRUE(bytes.find(QStringLiteral("Big 1")));
    EXPECT_TRUE(bytes.find(QStringLiteral("Big 2")));
}

TEST(AnswerCacheLimits, AFailingStoreIsLoggedOncePerFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cache.sqlite"));
    AnswerCache cache(path);
    cache.store(entry(QStringLiteral("Works"), 1));
    const QString failing = QStringLiteral("cannot store answers");

    LogCapture log;
    runOnFile(path, QStringLiteral("DROP TABLE answers"));
    for (int i = 0; i < 5; ++i)
        cache.store(entry(QStringLiteral("Lost %1").arg(i), 1));
    EXPECT_EQ(log.count(failing), 1) << qPrintable(log.lines().join(u'\n'));

    runOnFile(path, QStringLiteral("CREATE TABLE answers (key TEXT PRIMARY KEY, artist TEXT NOT NULL, provider TEXT NOT NULL,"
                                   "fetched INTEGER NOT NULL, popularity REAL NOT NULL, artists TEXT NOT NULL)"));
    cache.store(entry(QStringLiteral("Back"), 1));
    EXPECT_TRUE(cache.find(QStringLiteral("Back")));
    EXPECT_EQ(log.count(QStringLiteral("stores answers again")), 1);

    runOnFile(path, QStringLiteral("DROP TABLE answers"));
    cache.store(entry(QStringLiteral("Lost again"), 1));
    cache.store(entry(QStringLiteral("Lost again too"), 1));
    EXPECT_EQ(log.count(failing), 2) << "a new failure is reported anew";
}
