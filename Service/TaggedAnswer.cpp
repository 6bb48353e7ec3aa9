// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/TaggedAnswer.h"

#include "Service/ProviderRegistry.h"

#include <QXmlStreamWriter>

#include <cmath>

namespace {

QString number(double value)
{
    const double rounded = std::round(value * 10.0) / 10.0;
    return rounded == std::floor(rounded) ? QString::number(qint64(rounded)) : QString::number(rounded, 'f', 1);
}

void writeRecord(QXmlStreamWriter& xml, const QString& name, double rating, double popularity)
{
    xml.writeStartElement(QStringLiteral("r"));
    xml.writeTextElement(QStringLiteral("a"), name);
    xml.writeTextElement(QStringLiteral("c"), number(rating));
    xml.writeTextElement(QStringLiteral("p"), number(popularity));
    xml.writeEndElement();
    xml.writeCharacters(QStringLiteral("\n"));
}

} // namespace

QByteArray taggedAnswer(const QString& artist, double popularity, const SimilarArtistList& similar)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeCharacters(QStringLiteral("\n"));
    xml.writeStartElement(QStringLiteral("similarartists"));
    xml.writeCharacters(QStringLiteral("\n"));
    writeRecord(xml, artist, 100, popularity);
    for (const SimilarArtist& artist : similar) {
        if (ProviderRegistry::isSendableName(artist.name))
            writeRecord(xml, artist.name, artist.rating, artist.popularity);
    }
    xml.writeEndDocument();
    return body;
}
