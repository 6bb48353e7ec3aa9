// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// Everything the service can be told, from its config file and its command line (the
// command line wins). The file is INI text with the same names as the long options.
struct ServiceConfig {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 8642;
    QStringList providers = knownProviders(); // the offline catalog first
    QString cachePath;                 // default: the user's cache folder
    qint64 cacheMaxAgeSeconds = 30LL * 86400;
    QUrl musicBrainzUrl{QStringLiteral("https://musicbrainz.org")};
    QUrl listenBrainzUrl{QStringLiteral("https://labs.api.listenbrainz.org")};
    QString listenBrainzAlgorithm{
        QStringLiteral("session_based_days_7500_session_300_contribution_5_threshold_10_limit_100_filter_True_skip_30")};
    QUrl lastFmUrl{QStringLiteral("https://ws.audioscrobbler.com")};
    QString lastFmApiKey;
    QString userAgent;                 // default: corvale-service/VERSION ( contact )
    int upstreamTimeoutMs = 8000;      // for each upstream request, start to end
    int requestTimeoutMs = 10000;      // for a client to send one whole request
    int musicBrainzIntervalMs = 1000;
    int musicBrainzMinimumScore = 90;
    QString publicUrl;                 // base of cover addresses; default: the address listened on
    QString downloadUrl{QStringLiteral("https://corvale.org/download")};
    QString releaseNotesUrl{QStringLiteral("https://corvale.org/releases")};

    static QString defaultConfigPath();
    static QString defaultCachePath();
    static QStringList knownProviders(); // every provider, in the default order

    // Reads the config file (--config FILE, else the default path if it exists), then the
    // options. On a bad value or option answers nothing and sets `error`.
    static std::optional<ServiceConfig> fromArguments(const QStringList& arguments, QString* error,
                                                      bool* helpShown = nullptr);
    QString listenText() const; // "127.0.0.1:8642"
};
