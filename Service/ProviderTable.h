// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>

class SimilarArtistProvider;
class UpstreamClient;
struct ServiceConfig;

// Every kind of provider the service can ask, by the name used in --providers: the one place
// a new provider is added. The order is the default order of asking.
struct ProviderKind {
    QString name;
    // The provider for the configuration; null (with a line in the log) when it cannot be used.
    std::function<SimilarArtistProvider*(const ServiceConfig&, UpstreamClient*)> make;
};

const QList<ProviderKind>& providerKinds();
