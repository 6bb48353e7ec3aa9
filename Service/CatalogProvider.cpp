// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/CatalogProvider.h"

#include <QFile>

namespace {

QByteArray compiledCatalog()
{
    QFile file(QStringLiteral(":/corvale-service/catalog.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// "The Beatles" and "Beatles" name the same artist.
QString withoutArticle(const QString& folded)
{
    return folded.startsWith(QLatin1String("the ")) ? folded.mid(4) : QStringLiteral("the ") + folded;
}

} // namespace

CatalogProvider::CatalogProvider(QObject* parent)
    : CatalogProvider(compiledCatalog(), parent)
{
}

CatalogProvider::CatalogProvider(const QByteArray& catalogText, QObject* parent)
    : SimilarArtistProvider(parent)
{
    load(catalogText);
}

// One artist per line: "Name | popularity | Similar One 95; Similar Two 90; …", each similar
// artist followed by its score; "#" starts a comment line.
void CatalogProvider::load(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('|'));
        bool ok = false;
        Entry entry;
        entry.name = fields.value(0).trimmed();
        entry.popularity = fields.value(1).trimmed().toDouble(&ok);
        if (fields.size() != 3 || entry.name.isEmpty() || !ok) {
            m_problems.append(QStringLiteral("line %1: %2").arg(n + 1).arg(line));
            continue;
        }
        const QStringList similar = fields[2].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString& item : similar) {
            const QString trimmed = item.trimmed();
            const qsizetype space = trimmed.lastIndexOf(QLatin1Char(' '));
            const double score = trimmed.mid(space + 1).toDouble(&ok);
            if (space <= 0 || !ok) {
                m_problems.append(QStringLiteral("line %1: %2").arg(n + 1).arg(trimmed));
                continue;
            }
            entry.similar.append({trimmed.left(space).trimmed(), score, 0});
        }
        const QString key = foldArtistName(entry.name);
        if (m_index.contains(key)) {
            m_problems.append(QStringLiteral("line %1: %2 listed twice").arg(n + 1).arg(entry.name));
            continue;
        }
        m_index.insert(key, m_entries.size());
        m_entries.append(entry);
    }
    // A similar artist that has its own entry carries that entry's popularity.
    for (Entry& entry : m_entries) {
        for (SimilarArtist& similar : entry.similar) {
            const Entry* known = find(similar.name);
            similar.popularity = known ? known->popularity : 50;
        }
    }
}

const CatalogProvider::Entry* CatalogProvider::find(const QString& artist) const
{
    const QString key = foldArtistName(artist);
    auto it = m_index.constFind(key);
    if (it == m_index.constEnd())
        it = m_index.constFind(withoutArticle(key));
    return it == m_index.constEnd() ? nullptr : &m_entries[*it];
}

void CatalogProvider::lookup(const QString& artist, Done done)
{
    const Entry* entry = find(artist);
    done(entry ? ProviderAnswer::found(entry->similar, entry->popularity) : ProviderAnswer::notFound());
}
