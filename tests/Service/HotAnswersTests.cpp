// SPDX-License-Identifier: GPL-3.0-or-later
// The finished answers kept in memory: freshness, least recently asked out first, the bounds;
// and the service answering from them.
#include "Service/HotAnswers.h"

#include "ServiceTestSupport.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QThread>

namespace {

HotAnswers::Answer answer(qsizetype bodyBytes, char fill = 'x')
{
    return {QByteArray(bodyBytes, fill), QByteArrayLiteral("cache")};
}

const QDeadlineTimer aMinute(60 * 1000);

} // namespace

TEST(HotAnswers, KeepsAFreshAnswerUntilItExpires)
{
    HotAnswers hot;
    hot.insert(QStringLiteral("Muse"), answer(10, 'm'), QDeadlineTimer(30));
    ASSERT_TRUE(hot.find(QStringLiteral("Muse")));
    EXPECT_EQ(hot.find(QStringLiteral("Muse"))->body, QByteArray(10, 'm'));
    EXPECT_FALSE(hot.find(QStringLiteral("muse"))) << "the answer names the artist as asked";
    QThread::msleep(60);
    EXPECT_FALSE(hot.find(QStringLiteral("Muse")));
    EXPECT_EQ(hot.size(), 0);
    EXPECT_EQ(hot.bytes(), 0);

    hot.insert(QStringLiteral("Stale"), answer(10), QDeadlineTimer(0));
    EXPECT_EQ(hot.size(), 0) << "an answer no longer fresh is not kept";
}

TEST(HotAnswers, TheLeastRecentlyAskedGoFirstPastEitherBound)
{
    // Names of two characters, bodies of 100 bytes: every entry counts the same.
    const qsizetype entryBytes = 100 + 5 /* "cache" */ + 2 * qsizetype(sizeof(QChar)) + HotAnswers::entryOverheadBytes;
    struct Case {
        const char* label;
        HotAnswers::Limits limits;
        int capacity;
    };
    const Case cases[] = {
        {"entries", {3, 1024 * 1024}, 3},
        {"bytes", {1000, 20 * entryBytes + entryBytes / 2}, 20},
    };
    for (const Case& c : cases) {
        HotAnswers hot(c.limits);
        auto name = [](int i) { return QStringLiteral("A%1").arg(QChar(u'a' + i)); };
        for (int i = 0; i < c.capacity; ++i)
            hot.insert(name(i), answer(100), aMinute);
        ASSERT_EQ(hot.size(), c.capacity) << c.label;
        ASSERT_TRUE(hot.find(name(0))) << c.label; // now the most recently asked
        hot.insert(name(c.capacity), answer(100), aMinute);
        EXPECT_EQ(hot.size(), c.capacity) << c.label;
        EXPECT_FALSE(hot.find(name(1))) << c.label << ": the least recently asked went";
        for (int i : {0, 2, c.capacity})
            EXPECT_TRUE(hot.find(name(i))) << c.label << " " << i;
        EXPECT_LE(hot.bytes(), c.limits.maxBytes) << c.label;
        EXPECT_EQ(hot.bytes(), c.capacity * entryBytes) << c.label;
    }
}

TEST(HotAnswers, ReplacingAnAnswerAndOneTooLargeToKeep)
{
    HotAnswers hot({100, 16 * 1024});
    hot.insert(QStringLiteral("Muse"), answer(500, 'a'), aMinute);
    hot.insert(QStringLiteral("Muse"), answer(200, 'b'), aMinute);
    EXPECT_EQ(hot.size(), 1);
    EXPECT_EQ(hot.find(QStringLiteral("Muse"))->body, QByteArray(200, 'b'));
    const qsizetype before = hot.bytes();

    hot.insert(QStringLiteral("Huge"), answer(2 * 1024), aMinute);
    EXPECT_FALSE(hot.find(QStringLiteral("Huge"))) << "over a sixteenth of the bound";
    EXPECT_TRUE(hot.find(QStringLiteral("Muse"))) << "and it pushed nothing out";
    EXPECT_EQ(hot.bytes(), before);

    hot.insert(QStringLiteral("Muse"), answer(2 * 1024), aMinute);
    EXPECT_FALSE(hot.find(QStringLiteral("Muse"))) << "a replacement too large drops the old answer too";
    EXPECT_EQ(hot.bytes(), 0);
}

TEST(HotAnswers, TheServiceAnswersAFreshAnswerAgainFromMemory)
{
    ServiceFixture fixture;
    fixture.start(QStringLiteral("catalog"));
    const HttpResult first = fixture.similar(QStringLiteral("Radiohead"));
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(first.source, "catalog");
    EXPECT_EQ(fixture.service->hotAnswers().size(), 1);
    const HttpResult again = fixture.similar(QStringLiteral("Radiohead"));
    EXPECT_EQ(again.status, 200);
    EXPECT_EQ(again.source, "cache");
    EXPECT_EQ(again.body, first.body);
    EXPECT_EQ(again.contentType, first.contentType);
    const HttpResult otherSpelling = fixture.similar(QStringLiteral("RADIOHEAD"));
    EXPECT_TRUE(isWellFormedAnswer(otherSpelling.body, QStringLiteral("RADIOHEAD"))) << "the first record is the name asked";
    EXPECT_EQ(parseTaggedAnswer(otherSpelling.body), parseTaggedAnswer(first.body));

    // Answers that are not fresh, or found nowhere, are never kept.
    fixture.stop();
    fixture.config.cacheMaxAgeSeconds = 0;
    fixture.start(QStringLiteral("catalog"));
    EXPECT_EQ(fixture.similar(QStringLiteral("Radiohead")).status, 200);
    EXPECT_EQ(fixture.similar(QStringLiteral("No Such Artist Anywhere")).status, 200);
    EXPECT_EQ(fixture.service->hotAnswers().size(), 0);
}
