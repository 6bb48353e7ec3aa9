// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSDateExtensions.h"
#include "RKKit/RKExtensions/NSDictionaryExtensions.h"
#include "RKKit/RKExtensions/NSFileManagerExtensions.h"
#include "RKKit/RKExtensions/NSObjectExtensions.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

TEST(DictionaryExtensions, RemoveObjectRemovesEveryKeyWithAnEqualValue)
{
    QHash<QString, int> ratings = {{"Low", 1}, {"Can", 2}, {"Tortoise", 1}, {"Slint", 3}};
    DictionaryExtensions::removeObject(ratings, 1);
    EXPECT_EQ(ratings, (QHash<QString, int>{{"Can", 2}, {"Slint", 3}}));

    QMap<int, QString> names = {{1, "a"}, {2, "b"}};
    DictionaryExtensions::removeObject(names, QString("c"));
    EXPECT_EQ(names, (QMap<int, QString>{{1, "a"}, {2, "b"}}));

    QVariantMap mixed = {{"x", 5}, {"y", "5"}, {"z", 5}};
    DictionaryExtensions::removeObject(mixed, QVariant(5));
    EXPECT_FALSE(mixed.contains("x"));
    EXPECT_FALSE(mixed.contains("z"));
}

TEST(ObjectExtensions, HashRotatesTheLow32AddressBitsRightByFour)
{
    struct Case {
        std::uintptr_t address;
        quint32 expected;
    };
    const Case cases[] = {
        {0x12345678u, 0x81234567u},
        {0x1u, 0x10000000u},
        {0x10u, 0x1u},
        {0u, 0u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ObjectExtensions::hash(reinterpret_cast<const void*>(c.address)), c.expected) << c.address;
}

TEST(DateExtensions, StringFromTimeIntervalShowsOneUnit)
{
    struct Case {
        double seconds;
        const char* expected;
    };
    const Case cases[] = {
        {0, ""},
        {59, ""},
        {59.9, ""},
        {60, "1 minute"},
        {61, "1 minute"},
        {119, "1 minute"},
        {120, "2 minutes"},
        {3599, "59 minutes"},
        {3600, "1 hour"},
        {5400, "1 hour"},
        {7200, "2 hours"},
        {86399, "23 hours"},
        {86400, ""},
        {86460, "1 minute"},
        {90000, "1 hour"},
        {-61, "1 minute"},
        {-7200.9, "2 hours"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        // Saturates at the largest whole number of seconds: 15 hours of the day.
        {1e300, "15 hours"},
        {-std::numeric_limits<double>::infinity(), "15 hours"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateExtensions::stringFromTimeInterval(c.seconds), QString(c.expected)) << c.seconds;
}

TEST(DateExtensions, EarlierAndLaterThan)
{
    const QDateTime earlier(QDate(2004, 3, 1), QTime(12, 0), Qt::UTC);
    const QDateTime later = earlier.addSecs(1);
    EXPECT_TRUE(DateExtensions::earlierThan(earlier, later));
    EXPECT_FALSE(DateExtensions::laterThan(earlier, later));
    EXPECT_FALSE(DateExtensions::earlierThan(later, earlier));
    EXPECT_TRUE(DateExtensions::laterThan(later, earlier));
    // Equal dates, even as different objects in different zones: not earlier, so later.
    const QDateTime same = earlier.toOffsetFromUtc(3600);
    EXPECT_FALSE(DateExtensions::earlierThan(earlier, same));
    EXPECT_TRUE(DateExtensions::laterThan(earlier, same));
}

class FileManagerExtensionsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;
};

TEST_F(FileManagerExtensionsTest, CreatesEveryMissingDirectoryAndAnEmptyFile)
{
    const QString file = path("a/b/c/notes.txt");
    ASSERT_TRUE(QDir::isAbsolutePath(file));
    FileManagerExtensions::createFileAtPathRecursive(file);
    EXPECT_TRUE(QFileInfo(path("a")).isDir());
    EXPECT_TRUE(QFileInfo(path("a/b/c")).isDir());
    const QFileInfo info(file);
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.size(), 0);
}

TEST_F(FileManagerExtensionsTest, LeavesAnExistingFileUntouched)
{
    const QString file = path("kept.txt");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("original");
    }
    FileManagerExtensions::createFileAtPathRecursive(file);
    FileManagerExtensions::createFileAtPathRecursiveContentsAttributes(file, "replaced", std::nullopt);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("original"));
}

TEST_F(FileManagerExtensionsTest, WritesContentsAndPermissionsOfANewFile)
{
    const QString file = path("x/settings.json");
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    FileManagerExtensions::createFileAtPathRecursiveContentsAttributes(file, "{}", ownerOnly);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("{}"));
    EXPECT_EQ(f.permissions() & (ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther), ownerOnly);
}

TEST_F(FileManagerExtensionsTest, CreatesDirectoriesIncludingTheLast)
{
    FileManagerExtensions::createDirectoryAtPathRecursive(path("p/q/r"));
    EXPECT_TRUE(QFileInfo(path("p/q/r")).isDir());
    // Again, over what exists: nothing changes and nothing fails.
    FileManagerExtensions::createDirectoryAtPathRecursive(path("p/q/r"));
    EXPECT_TRUE(QFileInfo(path("p/q/r")).isDir());
}

TEST_F(FileManagerExtensionsTest, AFileInTheWayStopsNothingAndIsKept)
{
    const QString blocker = path("blocker");
    FileManagerExtensions::createFileAtPathRecursiveContentsAttributes(blocker, "data", std::nullopt);
    FileManagerExtensions::createFileAtPathRecursive(path("blocker/inner/file"));
    FileManagerExtensions::createDirectoryAtPathRecursive(path("blocker/inner"));
    EXPECT_TRUE(QFileInfo(blocker).isFile());
    EXPECT_EQ(QFileInfo(blocker).size(), 4);
    EXPECT_FALSE(QFileInfo::exists(path("blocker/inner")));
}
