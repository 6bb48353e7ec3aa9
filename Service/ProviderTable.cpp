// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/ProviderTable.h"
#include "Service/ServiceLogging.h"

#include "Service/CatalogProvider.h"
#include "Service/LastFmProvider.h"
#include "Service/ListenBrainzProvider.h"
#include "Service/ServiceConfig.h"

#include <QtDebug>

const QList<ProviderKind>& providerKinds()
{
    // The offline catalog first: it answers at once and without a network.
    static const QList<ProviderKind> kinds{
        {QStringLiteral("catalog"), [](const ServiceConfig&, UpstreamClient*) -> SimilarArtistProvider* {
             return new CatalogProvider;
         }},
        {QStringLiteral("listenbrainz"), [](const ServiceConfig& config, UpstreamClient* client) -> SimilarArtistProvider* {
             ListenBrainzProvider::Settings settings;
             settings.musicBrainzUrl = config.musicBrainzUrl;
             settings.listenBrainzUrl = config.listenBrainzUrl;
             settings.algorithm = config.listenBrainzAlgorithm;
             settings.minimumScore = config.musicBrainzMinimumScore;
             settings.musicBrainzIntervalMs = config.musicBrainzIntervalMs;
             return new ListenBrainzProvider(settings, client);
         }},
        {QStringLiteral("lastfm"), [](const ServiceConfig& config, UpstreamClient* client) -> SimilarArtistProvider* {
             if (config.lastFmApiKey.isEmpty()) {
                 qCInfo(lcServiceUpstream).noquote() << "no Last.fm API key, Last.fm is not asked";
                 return nullptr;
             }
             return new LastFmProvider(config.lastFmUrl, config.lastFmApiKey, client);
         }},
    };
    return kinds;
}
