// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QDeadlineTimer>
#include <QUrl>

#include <optional>

class UpstreamClient;

// Similar artists from Last.fm's artist.getsimilar (needs an API key); "match" 0–1 becomes
// a 0–100 rating. An invalid or suspended key switches the provider off for the run; a rate
// limit answer pauses it for a while.
class LastFmProvider : public SimilarArtistProvider {
    Q_OBJECT
public:
    static constexpr int rateLimitPauseMs = 60000;

    LastFmProvider(const QUrl& baseUrl, const QString& apiKey, UpstreamClient* client, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("lastfm"); }
    void lookup(const QString& artist, Done done) override;

    // An answer body read into a provider answer; `errorCode` receives Last.fm's error number.
    static ProviderAnswer parse(const QByteArray& json, int* errorCode);

private:
    QUrl m_baseUrl;
    QString m_apiKey;
    UpstreamClient* m_client;
    bool m_disabled = false;
    std::optional<QDeadlineTimer> m_pausedUntil;
};
