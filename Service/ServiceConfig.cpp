// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/ServiceConfig.h"

#include "Service/ProviderTable.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>
#include <limits>

namespace {

struct Option {
    const char* name;
    const char* valueName;
    const char* help;
};

// One table for the options and the config-file keys.
constexpr Option options[] = {
    {"listen", "ADDR:PORT", "Address to listen on (default 127.0.0.1:8642)."},
    {"providers", "LIST", "Providers to ask, in order (default catalog,listenbrainz,lastfm)."},
    {"cache", "FILE", "SQLite file of cached answers."},
    {"cache-max-age", "SECONDS", "How long a cached answer counts as fresh (default 30 days)."},
    {"musicbrainz-url", "URL", "Base address of the MusicBrainz web service."},
    {"listenbrainz-url", "URL", "Base address of the ListenBrainz labs service."},
    {"listenbrainz-algorithm", "NAME", "ListenBrainz similar-artists algorithm."},
    {"lastfm-url", "URL", "Base address of the Last.fm web service."},
    {"lastfm-api-key", "KEY", "Last.fm API key; without one Last.fm is not asked."},
    {"user-agent", "TEXT", "User-Agent sent upstream."},
    {"upstream-timeout", "MS", "Time an upstream request may take, start to end (default 8000)."},
    {"request-timeout", "MS", "Time a client has to send one whole request (default 10000)."},
    {"musicbrainz-interval", "MS", "Least time between MusicBrainz searches (default 1000)."},
    {"musicbrainz-min-score", "N", "Least MusicBrainz search score of a match (default 90)."},
    {"public-url", "URL", "Base address for cover links in the picks list."},
    {"download-url", "URL", "Download address in the version feed."},
    {"release-notes-url", "URL", "Description address in the version feed."},
};

bool parseListen(const QString& text, ServiceConfig& config)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    QHostAddress address;
    if (!ok || port > 65535)
        return false;
    if (host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(host))
        return false;
    config.address = address;
    config.port = quint16(port);
    return true;
}

bool parseUrl(const QString& text, QUrl& url)
{
    const QUrl parsed(text, QUrl::StrictMode);
    if (!parsed.isValid() || (parsed.scheme() != QLatin1String("http") && parsed.scheme() != QLatin1String("https"))
        || parsed.host().isEmpty())
        return false;
    url = parsed;
    return true;
}

template <typename Int>
bool parseNumber(const QString& text, Int& value, qint64 minimum)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number < minimum || number > std::numeric_limits<Int>::max())
        return false;
    value = Int(number);
    return true;
}

bool apply(ServiceConfig& config, const QString& name, const QString& value)
{
    if (name == QLatin1String("listen"))
        return parseListen(value, config);
    if (name == QLatin1String("providers")) {
        QStringList providers;
        for (const QString& provider : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString trimmed = provider.trimmed().toLower();
            if (!ServiceConfig::knownProviders().contains(trimmed) || providers.contains(trimmed))
                return false;
            providers.append(trimmed);
        }
        config.providers = providers;
        return !providers.isEmpty();
    }
    if (name == QLatin1String("cache")) {
        config.cachePath = value;
        return !value.isEmpty();
    }
    if (name == QLatin1String("cache-max-age"))
        return parseNumber(value, config.cacheMaxAgeSeconds, 0);
    if (name == QLatin1String("musicbrainz-url"))
        return parseUrl(value, config.musicBrainzUrl);
    if (name == QLatin1String("listenbrainz-url"))
        return parseUrl(value, config.listenBrainzUrl);
    if (name == QLatin1String("listenbrainz-algorithm")) {
        config.listenBrainzAlgorithm = value;
        return !value.isEmpty();
    }
    if (name == QLatin1String("lastfm-url"))
        return parseUrl(value, config.lastFmUrl);
    if (name == QLatin1String("lastfm-api-key")) {
        config.lastFmApiKey = value.trimmed();
        return true;
    }
    if (name == QLatin1String("user-agent")) {
        config.userAgent = value;
        return !value.isEmpty();
    }
    if (name == QLatin1String("upstream-timeout"))
        return parseNumber(value, config.upstreamTimeoutMs, 1);
    if (name == QLatin1String("request-timeout"))
        return parseNumber(value, config.requestTimeoutMs, 1);
    if (name == QLatin1String("musicbrainz-interval"))
        return parseNumber(value, config.musicBrainzIntervalMs, 0);
    if (name == QLatin1String("musicbrainz-min-score"))
        return parseNumber(value, config.musicBrainzMinimumScore, 0);
    QUrl url;
    if (name == QLatin1String("public-url")) {
        if (!parseUrl(value, url))
            return false;
        config.publicUrl = url.toString(QUrl::StripTrailingSlash);
        return true;
    }
    if (name == QLatin1String("download-url") || name == QLatin1String("release-notes-url")) {
        if (!parseUrl(value, url) || value.contains(QLatin1Char('|')))
            return false;
        (name == QLatin1String("download-url") ? config.downloadUrl : config.releaseNotesUrl) = value;
        return true;
    }
    return false;
}

} // namespace

QString ServiceConfig::defaultConfigPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("corvale/service.conf"));
}

QString ServiceConfig::defaultCachePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("corvale/service-cache.sqlite"));
}

QStringList ServiceConfig::knownProviders()
{
    QStringList names;
    for (const ProviderKind& kind : providerKinds())
        names.append(kind.name);
    return names;
}

QString ServiceConfig::listenText() const
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
        : address.toString();
    return host + QLatin1Char(':') + QString::number(port);
}

std::optional<ServiceConfig> ServiceConfig::fromArguments(const QStringList& arguments, QString* error,
                                                          bool* helpShown)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Corvale's local similar-artist service."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("Config file to read."),
                                          QStringLiteral("FILE"));
    parser.addOption(configOption);
    for (const Option& option : options)
        parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), QString::fromLatin1(option.help),
                                            QString::fromLatin1(option.valueName)));
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (helpShown && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")))) {
        *helpShown = true;
        std::fputs(qPrintable(parser.isSet(QStringLiteral("help"))
                                  ? parser.helpText()
                                  : QStringLiteral("corvale-service %1\n").arg(QStringLiteral(CORVALE_SERVICE_VERSION))),
                   stdout);
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return std::nullopt;
    }

    ServiceConfig config;
    const QString configPath = parser.isSet(configOption) ? parser.value(configOption) : defaultConfigPath();
    if (parser.isSet(configOption) && !QFileInfo(configPath).isReadable()) {
        *error = QStringLiteral("cannot read the config file %1").arg(configPath);
        return std::nullopt;
    }
    if (QFileInfo(configPath).isReadable()) {
        const QSettings file(configPath, QSettings::IniFormat);
        if (file.status() != QSettings::NoError) {
            *error = QStringLiteral("cannot read the config file %1").arg(configPath);
            return std::nullopt;
        }
        for (const QString& key : file.allKeys()) {
            const QVariant value = file.value(key);
            // INI lists ("a, b") come back as string lists.
            const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                                         : value.toString();
            if (!apply(config, key, text)) {
                *error = QStringLiteral("%1: bad value for %2: %3").arg(configPath, key, text);
                return std::nullopt;
            }
        }
    }
    for (const Option& option : options) {
        const QString name = QString::fromLatin1(option.name);
        if (parser.isSet(name) && !apply(config, name, parser.value(name))) {
            *error = QStringLiteral("bad value for --%1: %2").arg(name, parser.value(name));
            return std::nullopt;
        }
    }
    if (config.cachePath.isEmpty())
        config.cachePath = defaultCachePath();
    if (config.userAgent.isEmpty())
        config.userAgent = QStringLiteral("corvale-service/%1 ( https://corvale.org/contact )")
                               .arg(QStringLiteral(CORVALE_SERVICE_VERSION));
    return config;
}
