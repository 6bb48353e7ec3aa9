// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/UserDefaults.h"
#include "RKKit/RKExtensions/NSUserDefaultsExtensions.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QSaveFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& contents)
{
    const QString path = dir.filePath("corvale/defaults.json");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
    return path;
}

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

TEST(UserDefaults, StandardFileFollowsXdgConfigHome)
{
    EXPECT_EQ(UserDefaults::standardFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/corvale/defaults.json");
}

TEST(UserDefaults, FloatForKeyReadsNumbersAndLeadingNumbersOfTexts)
{
    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath("d.json"));
    const struct {
        QVariant value;
        float expected;
    } cases[] = {
        {QString("125"), 125.0f},
        {QString("1.3"), 1.3f},
        {QString("1.2.7"), 1.2f},
        {QString("  42 pixels"), 42.0f},
        {QString("-3e2"), -300.0f},
        {QString("none"), 0.0f},
        {QString(""), 0.0f},
        {2.5, 2.5f},
        {QVariantList{1, 2}, 0.0f},
    };
    for (const auto& c : cases) {
        defaults.setObjectForKey(c.value, "Value");
        EXPECT_FLOAT_EQ(defaults.floatForKey("Value"), c.expected) << c.value.toString().toStdString();
    }
    EXPECT_EQ(defaults.floatForKey("Missing"), 0.0f);
}

TEST(UserDefaults, ArraysComeBackWithTheirDictionariesAndNonArraysAreNone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("d.json");
    const QVariantList history{QVariantMap{{"Name", "abc"}, {"Rating", 2.0}}, QVariantMap{{"Name", "Sigur R\u00f3s"}, {"Rating", 7.5}}};
    {
        UserDefaults defaults(path);
        defaults.setObjectForKey(history, "HistoricalCorrelations");
        defaults.setObjectForKey(QStringList{"A", "B"}, "CorrelationLookupNodes");
        defaults.setObjectForKey(QString("not a list"), "Text");
        EXPECT_EQ(defaults.arrayForKey("HistoricalCorrelations"), history) << "a value written is read back in the same run";
    }
    UserDefaults reread(path);
    EXPECT_EQ(reread.arrayForKey("HistoricalCorrelations"), history);
    EXPECT_EQ(reread.arrayForKey("CorrelationLookupNodes"), (QVariantList{"A", "B"}));
    EXPECT_FALSE(reread.arrayForKey("Text").has_value());
    EXPECT_FALSE(reread.arrayForKey("Missing").has_value());
    EXPECT_EQ(reread.stringForKey("Text"), QString("not a list"));
}

TEST(UserDefaults, RegisteredFallbacksAreReadButNeverWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("d.json");
    UserDefaults defaults(path);
    defaults.registerDefaults({{"DrawerSplitHeight", "125"}});
    EXPECT_FLOAT_EQ(defaults.floatForKey("DrawerSplitHeight"), 125.0f);

    defaults.setFloatForKey(200.0f, "DrawerSplitHeight");
    EXPECT_FLOAT_EQ(defaults.floatForKey("DrawerSplitHeight"), 200.0f);
    defaults.setObjectForKey(QVariant(), "DrawerSplitHeight");
    EXPECT_FALSE(readJson(path).contains("DrawerSplitHeight"));
    EXPECT_FLOAT_EQ(defaults.floatForKey("DrawerSplitHeight"), 125.0f) << "the fallback shows again after removal";

    defaults.setObjectForKey(QString("1.3"), "RKVersionChecker");
    ASSERT_TRUE(defaults.synchronize());
    const QJsonObject stored = readJson(path);
    EXPECT_EQ(stored.value("RKVersionChecker").toString(), "1.3");
    EXPECT_FALSE(stored.contains("DrawerSplitHeight"));
}

TEST(UserDefaults, GeometryKeysAreSeparateNumbers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("d.json");
    UserDefaults defaults(path);
    UserDefaultsExtensions::setRectForKey(defaults, QRectF(10, 20, 300, 400), "Frame");
    UserDefaultsExtensions::setPointForKey(defaults, QPointF(1.5, 2.5), "Spot");
    EXPECT_EQ(UserDefaultsExtensions::rectForKey(defaults, "Frame"), QRectF(10, 20, 300, 400));
    EXPECT_EQ(UserDefaultsExtensions::pointForKey(defaults, "Spot"), QPointF(1.5, 2.5));
    EXPECT_EQ(UserDefaultsExtensions::rectForKey(defaults, "Never"), QRectF());
    defaults.synchronize();
    const QStringList keys = readJson(path).keys();
    EXPECT_EQ(keys, (QStringList{"Frame.origin.x", "Frame.origin.y", "Frame.size.height", "Frame.size.width", "Spot.x", "Spot.y"}));
}

TEST(UserDefaults, UnreadableFilesAreMovedAsideAndTheStoreStartsEmpty)
{
    const QByteArray bad[] = {"{ not json", "{\"CorrelationLookupNodes\": [\"A\", \"B\"", "[1, 2, 3]", "\xff\xfe\x00garbage"};
    for (const QByteArray& contents : bad) {
        QTemporaryDir dir;
        const QString path = writeFile(dir, contents);
        {
            UserDefaults defaults(path);
            EXPECT_FALSE(defaults.objectForKey("CorrelationLookupNodes").isValid());
            defaults.setObjectForKey(QStringList{"C"}, "CorrelationLookupNodes");
        }
        const QStringList aside = QDir(QFileInfo(path).absolutePath()).entryList({"defaults.json.corrupt-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1) << contents.constData();
        QFile kept(QFileInfo(path).absolutePath() + "/" + aside.first());
        kept.open(QIODevice::ReadOnly);
        EXPECT_EQ(kept.readAll(), contents) << "the user's bytes are kept as they were";
        EXPECT_EQ(readJson(path).value("CorrelationLookupNodes").toArray().size(), 1);
    }
}

TEST(UserDefaults, WritesReplaceTheFileAtomically)
{
    // The file is written beside and renamed into place, so a reader (or a crash) never
    // sees half a file: the old file's inode is replaced rather than rewritten in place.
    QTemporaryDir dir;
    const QString path = dir.filePath("d.json");
    UserDefaults defaults(path);
    defaults.setObjectForKey(QString("one"), "Key");
    ASSERT_TRUE(defaults.synchronize());
    struct stat before{};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &before), 0);
    defaults.setObjectForKey(QString("two"), "Key");
    ASSERT_TRUE(defaults.synchronize());
    struct stat after{};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(readJson(path).value("Key").toString(), "two");
}

// Runs only as the child process of the restart test below.
TEST(UserDefaults, ChildProcessWritesThroughTheStandardStore)
{
    if (qEnvironmentVariable("CORVALE_TEST_ROLE") != "writer")
        GTEST_SKIP() << "child process of StandardStoreSurvivesARestart";
    UserDefaults::standardUserDefaults().setObjectForKey(QStringList{"Pink Floyd", "Bj\u00f6rk"}, "CorrelationLookupNodes");
    UserDefaults::standardUserDefaults().setFloatForKey(1.5f, "DrawerSplitHeight");
    // No explicit synchronize: the store writes on its way out.
}

TEST(UserDefaults, StandardStoreSurvivesARestart)
{
    QTemporaryDir home;
    QProcess child;
    startChildTest(child, "UserDefaults.ChildProcessWritesThroughTheStandardStore", "writer", home.path());
    ASSERT_TRUE(child.waitForFinished(20000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().constData();

    UserDefaults next(home.path() + "/corvale/defaults.json");
    EXPECT_EQ(next.arrayForKey("CorrelationLookupNodes"), (QVariantList{"Pink Floyd", "Bj\u00f6rk"}));
    EXPECT_FLOAT_EQ(next.floatForKey("DrawerSplitHeight"), 1.5f);
}

TEST(UserDefaults, AFileBrokenWhileRunningIsMovedAsideAndUntouchedKeysSurvive)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, R"({"ServiceURL": "http://127.0.0.1:9000", "CorrelationLookupNodes": ["A"]})");
    UserDefaults defaults(path);
    ASSERT_EQ(defaults.stringForKey("ServiceURL"), QString("http://127.0.0.1:9000"));

    // Someone edits the file by hand and leaves it broken; then the app quits and writes.
    const QByteArray broken = R"({"ServiceURL": "http://127.0.0.1:9001", "Corr)";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(broken);
    }
    defaults.setObjectForKey(QStringList{"B"}, "CorrelationLookupNodes");
    ASSERT_TRUE(defaults.synchronize());

    const QStringList aside = QDir(QFileInfo(path).absolutePath()).entryList({"defaults.json.corrupt-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(path).absolutePath() + "/" + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), broken) << "the broken file is kept as it was";
    const QJsonObject written = readJson(path);
    EXPECT_EQ(written.value("ServiceURL").toString(), "http://127.0.0.1:9000") << "a key the app never touched";
    EXPECT_EQ(written.value("CorrelationLookupNodes").toArray().size(), 1);
}

TEST(UserDefaults, KeysWrittenByAnotherProcessMeanwhileAreKept)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, R"({"CorrelationLookupNodes": ["A"]})");
    UserDefaults defaults(path);
    ASSERT_TRUE(defaults.arrayForKey("CorrelationLookupNodes").has_value());
    {
        QSaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"CorrelationLookupNodes": ["A"], "RKVersionChecker": "1.3", "ServiceURL": "http://x:1"})");
        ASSERT_TRUE(file.commit());
    }
    defaults.setFloatForKey(150.0f, "DrawerSplitHeight");
    ASSERT_TRUE(defaults.synchronize());
    const QJsonObject written = readJson(path);
    EXPECT_EQ(written.value("RKVersionChecker").toString(), "1.3");
    EXPECT_EQ(written.value("ServiceURL").toString(), "http://x:1");
    EXPECT_EQ(written.value("DrawerSplitHeight").toDouble(), 150.0);
}

TEST(UserDefaults, AValueOfTheWrongKindIsKeptAsideBeforeItIsReplaced)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, R"({"CorrelationLookupNodes": "Portishead", "FollowedPlayer": 7, "Other": [1]})");
    UserDefaults defaults(path);
    EXPECT_FALSE(defaults.arrayForKey("CorrelationLookupNodes").has_value());
    EXPECT_FALSE(defaults.stringForKey("FollowedPlayer").has_value());
    defaults.setObjectForKey(QStringList{"Massive Attack"}, "CorrelationLookupNodes");
    defaults.setObjectForKey(QStringList{"Unread"}, "Other"); // read by no one as the wrong kind: nothing to keep
    ASSERT_TRUE(defaults.synchronize());

    const QStringList aside = QDir(QFileInfo(path).absolutePath()).entryList({"defaults.json.*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1) << aside.join(", ").toStdString();
    EXPECT_TRUE(aside.first().startsWith("defaults.json.CorrelationLookupNodes.corrupt-"));
    EXPECT_EQ(readJson(QFileInfo(path).absolutePath() + "/" + aside.first()).value("CorrelationLookupNodes").toString(), "Portishead");
    EXPECT_EQ(readJson(path).value("CorrelationLookupNodes").toArray().first().toString(), "Massive Attack");
    EXPECT_EQ(readJson(path).value("FollowedPlayer").toInt(), 7) << "read but not replaced: it stays where it is";
}
