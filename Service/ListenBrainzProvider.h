// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QElapsedTimer>
#include <QQueue>
#include <QUrl>

#include <optional>

class QTimer;
class UpstreamClient;

// Similar artists from ListenBrainz: the name is matched to a MusicBrainz artist id with the
// MusicBrainz search (at most one request per interval), then the ListenBrainz labs
// similar-artists data for that id is read and its scores scaled to 0–100 by the top score.
class ListenBrainzProvider : public SimilarArtistProvider {
    Q_OBJECT
public:
    struct Settings {
        QUrl musicBrainzUrl;
        QUrl listenBrainzUrl;
        QString algorithm;
        int minimumScore = 90;        // best MusicBrainz match must score at least this
        int musicBrainzIntervalMs = 1000;
        int maxQueued = 32;           // name lookups waiting for their MusicBrainz turn
    };

    ListenBrainzProvider(const Settings& settings, UpstreamClient* client, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("listenbrainz"); }
    void lookup(const QString& artist, Done done) override;

    struct Match {
        QString mbid;
        QString name;
        int score = 0;
    };
    // The best artist of a MusicBrainz search answer, if any scores high enough. Public for tests.
    static std::optional<Match> bestMatch(const QByteArray& json, const QString& asked, int minimumScore,
                                          bool* malformed);
    static std::optional<SimilarArtistList> parseSimilar(const QByteArray& json, const QString& mbid,
                                                         double popularity);

private:
    struct Pending {
        QString artist;
        Done done;
    };
    void pump();
    void searchMusicBrainz(const Pending& pending);
    void readSimilar(const Match& match, const Done& done);

    Settings m_settings;
    UpstreamClient* m_client;
    QQueue<Pending> m_queue;
    QTimer* m_timer;
    QElapsedTimer m_sinceLast;
    qint64 m_holdOffMs = 0; // extra wait after MusicBrainz asked us to slow down
};
