// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/SimilarArtistProvider.h"

#include <QHash>

// The offline catalog shipped with the service: always available, answers at once.
class CatalogProvider : public SimilarArtistProvider {
    Q_OBJECT
public:
    struct Entry {
        QString name;
        double popularity = 0;
        SimilarArtistList similar;
    };

    // Reads the catalog compiled into the service, or a catalog text in the same format.
    explicit CatalogProvider(QObject* parent = nullptr);
    CatalogProvider(const QByteArray& catalogText, QObject* parent);

    QString name() const override { return QStringLiteral("catalog"); }
    void lookup(const QString& artist, Done done) override;

    const Entry* find(const QString& artist) const;
    qsizetype size() const { return m_entries.size(); }
    QList<Entry> entries() const { return m_entries; }
    QStringList problems() const { return m_problems; } // lines that could not be read

private:
    void load(const QByteArray& text);

    QList<Entry> m_entries;
    QHash<QString, qsizetype> m_index; // folded name → entry
    QStringList m_problems;
};
