// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// One similar artist: rating on a 0–100 scale (most similar highest), popularity 0–100.
struct SimilarArtist {
    QString name;
    double rating = 0;
    double popularity = 0;
};

using SimilarArtistList = QList<SimilarArtist>;

// What one provider made of one name.
struct ProviderAnswer {
    enum class Outcome {
        Found,    // the provider knows the artist; `artists` holds its similar artists
        NotFound, // the provider answered and does not know the artist
        Failed,   // no usable answer (network, time-out, rate limit, malformed data)
    };
    Outcome outcome = Outcome::Failed;
    SimilarArtistList artists;
    double popularity = 0; // of the asked artist itself
    QString detail;        // for the log when the outcome is Failed

    static ProviderAnswer found(SimilarArtistList artists, double popularity);
    static ProviderAnswer notFound();
    static ProviderAnswer failed(const QString& detail);
};

// Turns an artist name into a ranked list of similar artists, asynchronously. `done` is
// called exactly once, possibly before lookup() returns; never after the provider is gone.
class SimilarArtistProvider : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const ProviderAnswer&)>;

    explicit SimilarArtistProvider(QObject* parent = nullptr)
        : QObject(parent)
    {
    }

    virtual QString name() const = 0;
    virtual void lookup(const QString& artist, Done done) = 0;
};

// The one way names are compared everywhere: white space simplified, case folded.
QString foldArtistName(const QString& name);
