// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/PicksFeed.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace {

QList<PicksFeed::Pick> loadPicks()
{
    QFile file(QStringLiteral(":/corvale-service/picks.json"));
    file.open(QIODevice::ReadOnly);
    QList<PicksFeed::Pick> picks;
    for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject pick = value.toObject();
        picks.append({pick.value(QStringLiteral("artist")).toString(), pick.value(QStringLiteral("album")).toString(),
                      pick.value(QStringLiteral("description")).toString(), pick.value(QStringLiteral("cover")).toString()});
    }
    return picks;
}

void writeEntry(QXmlStreamWriter& xml, const QString& key, const QString& text)
{
    xml.writeTextElement(QStringLiteral("key"), key);
    xml.writeTextElement(QStringLiteral("string"), text);
}

} // namespace

const QList<PicksFeed::Pick>& PicksFeed::picks()
{
    static const QList<Pick> list = loadPicks();
    return list;
}

HttpServerResponse PicksFeed::list(const QString& baseUrl)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1); // one tab per level
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
    xml.writeStartElement(QStringLiteral("plist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("dict"));
    xml.writeTextElement(QStringLiteral("key"), QStringLiteral("Artists"));
    xml.writeStartElement(QStringLiteral("array"));
    for (const Pick& pick : picks()) {
        xml.writeStartElement(QStringLiteral("dict"));
        writeEntry(xml, QStringLiteral("Artist"), pick.artist);
        writeEntry(xml, QStringLiteral("Album"), pick.album);
        writeEntry(xml, QStringLiteral("Description"), pick.description);
        writeEntry(xml, QStringLiteral("Image"), baseUrl + QStringLiteral("/covers/") + pick.cover);
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    HttpServerResponse response;
    response.contentType = "application/x-plist; charset=utf-8";
    response.body = body;
    return response;
}

HttpServerResponse PicksFeed::cover(const QString& fileName)
{
    static const QRegularExpression coverName(QStringLiteral("^[A-Za-z0-9_-]+\\.(png|jpe?g)$"));
    QFile file(QStringLiteral(":/corvale-service/covers/") + fileName);
    if (!coverName.match(fileName).hasMatch() || !file.open(QIODevice::ReadOnly))
        return HttpServerResponse::text(404, "Not Found\n");
    HttpServerResponse response;
    response.contentType = fileName.endsWith(QLatin1String(".png")) ? "image/png" : "image/jpeg";
    response.body = file.readAll();
    response.addHeader("Cache-Control", "max-age=86400");
    return response;
}
