// SPDX-License-Identifier: GPL-3.0-or-later
// Configuration from file and command line, and the corvale-service program itself.
#include "ServiceTestSupport.h"

#include "Service/AnswerCache.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

std::optional<ServiceConfig> parse(QStringList arguments, QString* error)
{
    arguments.prepend(QStringLiteral("corvale-service"));
    return ServiceConfig::fromArguments(arguments, error);
}

// Starts corvale-service with the catalog on a free port and the given cache file; answers
// the base address it says it listens on, or nothing.
QString startServiceProgram(QProcess& process, const QString& cache)
{
    process.start(QStringLiteral(CORVALE_SERVICE_BINARY),
                  {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--providers"),
                   QStringLiteral("catalog"), QStringLiteral("--cache"), cache});
    QByteArray out;
    waitUntil([&] {
        out += process.readAllStandardOutput();
        return out.contains('\n');
    }, 5000);
    const auto match = QRegularExpression(QStringLiteral("listening on (http://127\\.0\\.0\\.1:\\d+)")).match(QString::fromUtf8(out));
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

TEST(ServiceConfig, DefaultsListenWhereTheAppLooks)
{
    QString error;
    const auto config = parse({}, &error);
    ASSERT_TRUE(config) << qPrintable(error);
    EXPECT_EQ(config->listenText(), QStringLiteral("127.0.0.1:8642"));
    EXPECT_EQ(config->providers, (QStringList{QStringLiteral("catalog"), QStringLiteral("listenbrainz"), QStringLiteral("lastfm")}))
        << "the offline catalog first, as the README says";
    EXPECT_EQ(config->providers, ServiceConfig::knownProviders());
    EXPECT_EQ(config->requestTimeoutMs, 10000);
    EXPECT_EQ(config->cacheMaxAgeSeconds, 30 * 86400);
    EXPECT_TRUE(config->userAgent.startsWith(QStringLiteral("corvale-service/" CORVALE_SERVICE_VERSION " (")));
}

TEST(ServiceConfig, CommandLineOverridesTheConfigFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("service.conf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("listen = 127.0.0.1:9000\n"
               "providers = catalog, lastfm\n"
               "lastfm-api-key = abc123\n"
               "upstream-timeout = 1234\n"
               "musicbrainz-url = http://127.0.0.1:7000/mb\n");
    file.close();

    QString error;
    const auto config = parse({QStringLiteral("--config"), path, QStringLiteral("--listen"), QStringLiteral("[::1]:9100")}, &error);
    ASSERT_TRUE(config) << qPrintable(error);
    EXPECT_EQ(config->listenText(), QStringLiteral("[::1]:9100"));
    EXPECT_EQ(config->providers, (QStringList{QStringLiteral("catalog"), QStringLiteral("lastfm")}));
    EXPECT_EQ(config->lastFmApiKey, QStringLiteral("abc123"));
    EXPECT_EQ(config->upstreamTimeoutMs, 1234);
    EXPECT_EQ(config->musicBrainzUrl, QUrl(QStringLiteral("http://127.0.0.1:7000/mb")));
}

class BadOption : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(BadOption, IsRefusedWithAReason)
{
    QStringList arguments;
    for (const char* argument : GetParam())
        arguments.append(QString::fromUtf8(argument));
    QString error;
    EXPECT_FALSE(parse(arguments, &error));
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Options, BadOption, ::testing::Values(
    std::vector<const char*>{"--listen", "nonsense"},
    std::vector<const char*>{"--listen", "127.0.0.1:70000"},
    std::vector<const char*>{"--listen", "example.org:80"},
    std::vector<const char*>{"--providers", "spotify"},
    std::vector<const char*>{"--providers", "catalog,catalog"},
    std::vector<const char*>{"--providers", ","},
    std::vector<const char*>{"--upstream-timeout", "0"},
    std::vector<const char*>{"--request-timeout", "0"},
    std::vector<const char*>{"--cache-max-age", "-5"},
    std::vector<const char*>{"--musicbrainz-url", "ftp://example.org"},
    std::vector<const char*>{"--download-url", "https://example.org/a|b"},
    std::vector<const char*>{"--config", "/nonexistent/service.conf"},
    std::vector<const char*>{"--bogus"},
    std::vector<const char*>{"stray"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ServiceProgram, StartsFromTheCommandLineAndAnswersTheApp)
{
    QTemporaryDir dir;
    QProcess process;
    const QString base = startServiceProgram(process, dir.filePath(QStringLiteral("c.sqlite")));
    ASSERT_FALSE(base.isEmpty()) << process.readAllStandardError().constData();

    QNetworkAccessManager manager;
    const HttpResult result = httpGet(manager, similarUrl(base, QStringLiteral("Daft Punk")));
    EXPECT_EQ(result.status, 200);
    EXPECT_FALSE(parseTaggedAnswer(result.body).isEmpty());
    process.terminate();
    EXPECT_TRUE(process.waitForFinished(5000));
}

TEST(ServiceProgram, ClosesItsCacheCleanlyOnSigterm)
{
    QTemporaryDir dir;
    const QString cache = dir.filePath(QStringLiteral("c.sqlite"));
    QProcess process;
    const QString base = startServiceProgram(process, cache);
    ASSERT_FALSE(base.isEmpty()) << process.readAllStandardError().constData();
    QNetworkAccessManager manager;
    ASSERT_EQ(httpGet(manager, similarUrl(base, QStringLiteral("Daft Punk"))).source, "catalog");
    ASSERT_TRUE(QFile::exists(cache + QStringLiteral("-wal"))) << "the answer sits in the write-ahead log";

    process.terminate(); // SIGTERM
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "ended by its own hand, not by the signal";
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(cache + QStringLiteral("-wal"))) << "closing the cache folds its log into the file";
    AnswerCache reopened(cache);
    EXPECT_TRUE(reopened.find(QStringLiteral("daft punk")).has_value());
}

TEST(ServiceProgram, RefusesABadOptionAndAnAddressInUse)
{
    QProcess bad;
    bad.start(QStringLiteral(CORVALE_SERVICE_BINARY), {QStringLiteral("--providers"), QStringLiteral("nothing")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--providers"));

    ServiceFixture fixture;
    fixture.start(QStringLiteral("catalog"));
    QTemporaryDir dir;
    QProcess busy;
    busy.start(QStringLiteral(CORVALE_SERVICE_BINARY),
               {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(fixture.service->port()),
                QStringLiteral("--cache"), dir.filePath(QStringLiteral("c.sqlite"))});
    ASSERT_TRUE(busy.waitForFinished(5000));
    EXPECT_EQ(busy.exitCode(), 1);
    EXPECT_TRUE(busy.readAllStandardError().contains("cannot listen"));
}

TEST(AnswerCacheFile, AnUnusableCacheFileLeavesTheServiceWorking)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cache.sqlite"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, '\x5a')); // not a database
    file.close();

    ServiceFixture fixture;
    fixture.config.cachePath = path;
    fixture.start(QStringLiteral("catalog"));
    EXPECT_EQ(fixture.similar(QStringLiteral("Muse")).source, "catalog");
    EXPECT_EQ(fixture.similar(QStringLiteral("Muse")).source, "cache") << "kept in memory for this run";
    fixture.stop();
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray(8192, '\x5a')) << "a file that is not ours is left alone";
}
