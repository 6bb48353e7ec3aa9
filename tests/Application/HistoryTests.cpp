// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/HistoryNode.h"
#include "Application/MainNode.h"
#include "Platform/NotificationCenter.h"
#include "Platform/UserDefaults.h"

#include "support/TestUtil.h"

#include "ApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cfloat>

namespace {

QStringList rankedNames(const HistoryNode& history)
{
    QStringList names;
    for (const auto& record : history.historicalCorrelations())
        names.append(record.name);
    return names;
}

} // namespace

TEST(History, SumsRatingsPerExactName)
{
    auto history = HistoryNode::instance();
    history->addCorrelations(records({{"X", 3}, {"x", 1}}));
    history->addCorrelations(records({{"X", 4.5f}}));
    ASSERT_NE(history->historicalCorrelationNamed("X"), nullptr);
    EXPECT_EQ(history->historicalCorrelationNamed("X")->rating, 7.5f);
    EXPECT_EQ(history->historicalCorrelationNamed("x")->rating, 1.0f) << "letter case makes another record";
    EXPECT_EQ(rankedNames(*history), (QStringList{"X", "x"}));
}

TEST(History, ShowsTheFortyBestAndTheThreeBestNames)
{
    auto history = HistoryNode::instance();
    history->setPrimary("Your Recommendations");
    history->addCorrelations(records({{"B", 2}, {"A", 5}}));
    EXPECT_EQ(history->secondaryString(), "A, B");

    std::vector<Correlation> many;
    for (int i = 0; i < 45; ++i)
        many.push_back(Correlation{QStringLiteral("Artist %1").arg(i), float(100 + i), 0});
    history->addCorrelations(many);
    ASSERT_EQ(history->nodes().size(), 41u);
    EXPECT_EQ(history->nodes().front()->primaryString(), "Your Recommendations");
    EXPECT_EQ(history->nodes()[1]->primaryString(), "Artist 44");
    EXPECT_EQ(history->nodes()[40]->primaryString(), "Artist 5");
    EXPECT_EQ(history->secondaryString(), "Artist 44, Artist 43, Artist 42");
    EXPECT_EQ(history->minRating(), 105.0f) << "the stars compare the shown rows only";
    EXPECT_EQ(history->historicalCorrelationCount(), 47u);
}

TEST(History, EqualTotalsKeepAFixedOrder)
{
    auto history = HistoryNode::instance();
    history->addCorrelations(records({{"first", 1}, {"second", 1}, {"third", 1}}));
    history->addCorrelations(records({{"third", 0}, {"second", 0}}));
    EXPECT_EQ(rankedNames(*history), (QStringList{"first", "second", "third"}));
}

TEST(History, IncrementalRankingMatchesAFullSort)
{
    // Random answers with repeats, negative ratings and ties, checked against a plain sort of
    // the summed totals after every answer: small answers into a small history, and answers
    // of up to a hundred records into a history of thousands, where only the records an
    // answer moved are put back in place.
    const struct {
        int names;
        int rounds;
        int minAnswer;
        int maxAnswer;
    } cases[] = {{400, 300, 1, 12}, {6000, 120, 50, 101}};
    for (const auto& c : cases) {
        auto history = HistoryNode::instance();
        history->resetHistory();
        QRandomGenerator random(1234);
        QHash<QString, float> totals;
        QHash<QString, int> firstSeen;
        for (int round = 0; round < c.rounds; ++round) {
            std::vector<Correlation> received;
            const int size = int(random.bounded(c.minAnswer, c.maxAnswer));
            for (int i = 0; i < size; ++i) {
                const QString name = QStringLiteral("a%1").arg(random.bounded(c.names));
                const float rating = float(int(random.bounded(-20, 60)) / 2);
                received.push_back(Correlation{name, rating, 0});
                if (!firstSeen.contains(name))
                    firstSeen.insert(name, int(firstSeen.size()));
                totals[name] += rating;
            }
            history->addCorrelations(received);

            QStringList expected = totals.keys();
            std::sort(expected.begin(), expected.end(), [&](const QString& a, const QString& b) {
                if (totals[a] != totals[b])
                    return totals[a] > totals[b];
                return firstSeen[a] < firstSeen[b];
            });
            ASSERT_EQ(rankedNames(*history), expected) << c.names << " names, after answer " << round;
        }
    }
}

TEST(History, AnAnswerEmptiesTheThirdColumnOnward)
{
    BrowserView browser;
    auto root = browser.rootNode();
    auto history = HistoryNode::instance();
    history->addCorrelations(records({{"Yes", 5}}));
    browser.tableAtIndex(0)->selectRowByExtendingSelection(3, false); // the history entry
    browser.tableAtIndex(1)->selectRowByExtendingSelection(1, false); // its row "Yes"
    ASSERT_EQ(browser.tableAtIndex(2)->numberOfRows(), 11) << "the search links of Yes";

    history->addCorrelations({});
    EXPECT_EQ(browser.tableAtIndex(2)->numberOfRows(), 1) << "a placeholder";
    EXPECT_EQ(browser.tableAtIndex(1)->rootNode(), history);
    EXPECT_EQ(browser.tableAtIndex(1)->numberOfRows(), 2) << "the rebuilt rows are shown";
}

TEST(History, LoadsAtTheFirstTurnOfTheEventLoop)
{
    UserDefaults::standardUserDefaults().setObjectForKey(
        QVariantList{QVariantMap{{"Name", "Twice"}, {"Rating", 2.0}}, QVariantMap{{"Rating", 9.0}},
                     QVariantMap{{"Name", "Once"}, {"Rating", 3.0}}, QVariantMap{{"Name", "Twice"}, {"Rating", 2.5}},
                     QString("not a record")},
        "HistoricalCorrelations");
    auto history = HistoryNode::instance();
    EXPECT_EQ(history->historicalCorrelationCount(), 0u) << "nothing is read while the root is built";
    ASSERT_TRUE(waitUntil([&] { return history->historicalCorrelationCount() > 0; }));
    EXPECT_EQ(rankedNames(*history), (QStringList{"Twice", "Once"})) << "an element without a name is skipped";
    EXPECT_EQ(history->historicalCorrelationNamed("Twice")->rating, 4.5f);
}

TEST(History, StartsEmptyOnAFreshProfile)
{
    BrowserView browser;
    auto history = HistoryNode::instance();
    EXPECT_EQ(history->secondaryString(), " ");
    spinEventLoop(20);
    EXPECT_EQ(history->secondaryString(), "");
    ASSERT_EQ(history->nodes().size(), 1u);
    EXPECT_EQ(history->nodes().front()->primaryString(), "Your Recommendations");
    EXPECT_TRUE(history->isLoaded());
}

TEST(History, ResetForgetsWithoutRebuilding)
{
    auto history = HistoryNode::instance();
    history->addCorrelations(records({{"A", 1}}));
    history->resetHistory();
    EXPECT_EQ(history->historicalCorrelationCount(), 0u);
    EXPECT_EQ(history->nodes().size(), 2u);
}

// Child process roles of the restart test below.
TEST(History, ChildProcessRole)
{
    const QString role = qEnvironmentVariable("CORVALE_TEST_ROLE");
    if (role.isEmpty())
        GTEST_SKIP() << "child process of SurvivesARestartInRankingOrder";
    postApplicationWillTerminateOnQuit();
    auto history = HistoryNode::instance();
    spinEventLoop(20);
    if (role == "first-run") {
        std::vector<Correlation> many;
        for (int i = 0; i < 60; ++i)
            many.push_back(Correlation{QStringLiteral("Artist %1").arg(i), float(i), 0});
        history->addCorrelations(many);
    } else {
        history->addCorrelations(records({{"Artist 0", 100}}));
    }
    QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    QCoreApplication::exec(); // quitting writes the ranking
}

TEST(History, SurvivesARestartInRankingOrder)
{
    QTemporaryDir home;
    for (const char* role : {"first-run", "second-run"}) {
        QProcess child;
        startChildTest(child, "History.ChildProcessRole", role, home.path());
        ASSERT_TRUE(child.waitForFinished(20000));
        ASSERT_EQ(child.exitCode(), 0) << child.readAll().constData();
    }
    UserDefaults stored(home.path() + "/corvale/defaults.json");
    const QVariantList array = stored.arrayForKey("HistoricalCorrelations").value_or(QVariantList());
    ASSERT_EQ(array.size(), 60) << "every record, not only the forty shown";
    EXPECT_EQ(array.first().toMap(), (QVariantMap{{"Name", "Artist 0"}, {"Rating", 100.0}})) << "loaded, then summed";
    EXPECT_EQ(array.at(1).toMap().value("Name"), "Artist 59");
    EXPECT_EQ(array.last().toMap().value("Name"), "Artist 1");
}

namespace {

// Replaces the defaults file as another instance does when it quits.
void writeDefaultsFile(const QJsonObject& object)
{
    QDir().mkpath(QFileInfo(UserDefaults::standardFilePath()).absolutePath());
    QSaveFile file(UserDefaults::standardFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(object).toJson());
    ASSERT_TRUE(file.commit());
}

QJsonObject readDefaultsFile()
{
    QFile file(UserDefaults::standardFilePath());
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

QHash<QString, double> storedRatings()
{
    QHash<QString, double> ratings;
    for (const QJsonValue& value : readDefaultsFile().value("HistoricalCorrelations").toArray())
        ratings.insert(value.toObject().value("Name").toString(), value.toObject().value("Rating").toDouble());
    return ratings;
}

QJsonObject record(const QString& name, double rating)
{
    return {{"Name", name}, {"Rating", rating}};
}

} // namespace

TEST(History, SavingMergesWithWhatAnotherInstanceStoredMeanwhile)
{
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.setObjectForKey(QVariantList{QVariantMap{{"Name", "Shared"}, {"Rating", 5.0}}}, "HistoricalCorrelations");
    ASSERT_TRUE(defaults.synchronize());
    auto history = HistoryNode::instance();
    ASSERT_TRUE(waitUntil([&] { return history->historicalCorrelationCount() > 0; }));
    history->addCorrelations(records({{"Shared", 1}, {"Mine", 2}}));

    // Meanwhile another instance, started on the same file, received "Theirs" and quit.
    writeDefaultsFile({{"HistoricalCorrelations", QJsonArray{record("Shared", 8), record("Theirs", 7)}},
                       {"ServiceURL", "http://127.0.0.1:9000"}});
    history->saveDefaults();
    history->saveDefaults(); // saving twice adds this run's answers once
    ASSERT_TRUE(defaults.synchronize());

    const QHash<QString, double> stored = storedRatings();
    EXPECT_EQ(stored.value("Theirs"), 7.0) << "the other instance's answer is kept";
    EXPECT_EQ(stored.value("Mine"), 2.0);
    EXPECT_EQ(stored.value("Shared"), 9.0) << "their total, plus what this run received";
    EXPECT_EQ(stored.size(), 3);
    EXPECT_EQ(readDefaultsFile().value("ServiceURL").toString(), "http://127.0.0.1:9000");
}

TEST(History, TheStoredRankingKeepsTheBestTwentyThousand)
{
    const int stored = int(HistoryNode::storedRecords) + 50;
    QJsonArray many;
    for (int i = 0; i < stored; ++i)
        many.append(record(QStringLiteral("Artist %1").arg(i), i));
    writeDefaultsFile({{"HistoricalCorrelations", many}});
    UserDefaults::standardUserDefaults().synchronize();
    auto history = HistoryNode::instance();
    ASSERT_TRUE(waitUntil([&] { return history->historicalCorrelationCount() > 0; }));
    EXPECT_EQ(history->historicalCorrelationCount(), HistoryNode::storedRecords) << "only the best are loaded";
    EXPECT_EQ(history->historicalCorrelationNamed("Artist 49"), nullptr);

    history->addCorrelations(records({{"Newcomer", 1e6f}}));
    history->saveDefaults();
    ASSERT_TRUE(UserDefaults::standardUserDefaults().synchronize());
    const QHash<QString, double> saved = storedRatings();
    EXPECT_EQ(saved.size(), qsizetype(HistoryNode::storedRecords));
    EXPECT_TRUE(saved.contains("Newcomer"));
    EXPECT_FALSE(saved.contains("Artist 50")) << "the weakest make room";
    EXPECT_TRUE(saved.contains("Artist 51"));
}

TEST(History, HugeRatingsStayFiniteAndAreStoredAsNumbers)
{
    auto history = HistoryNode::instance();
    history->addCorrelations(records({{"Huge", FLT_MAX}, {"Huge", FLT_MAX}, {"Low", -FLT_MAX}, {"Low", -FLT_MAX}}));
    EXPECT_EQ(history->historicalCorrelationNamed("Huge")->rating, FLT_MAX);
    EXPECT_EQ(history->historicalCorrelationNamed("Low")->rating, -FLT_MAX);
    history->saveDefaults();
    ASSERT_TRUE(UserDefaults::standardUserDefaults().synchronize());
    for (const QJsonValue& value : readDefaultsFile().value("HistoricalCorrelations").toArray())
        EXPECT_TRUE(value.toObject().value("Rating").isDouble()) << "not null";
    EXPECT_EQ(storedRatings().value("Huge"), double(FLT_MAX));
}
