// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One similar-artist record: the artist's name as the service spelled it, how similar it is
// (larger is more similar) and how popular. A history record sums every rating received.

#include <QString>
#include <QVariantMap>

class Correlation {
public:
    QString name;
    float rating = 0.0f;
    float popularity = 0.0f; // carried along; nothing reads it
};

class HistoricalCorrelation : public Correlation {
public:
    HistoricalCorrelation() = default;
    HistoricalCorrelation(const QString& name, float rating);

    // {"Name": text, "Rating": number}; a missing or non-numeric rating reads as 0.
    static HistoricalCorrelation initWithDictionary(const QVariantMap& dictionary);
    QVariantMap dictionary() const;
    // "name, rating" with six decimals: "abc, 1.500000".
    QString description() const;
};
