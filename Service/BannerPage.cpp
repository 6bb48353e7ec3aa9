// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/BannerPage.h"

#include <QUrl>

namespace {

QByteArray page(const QString& body)
{
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
               "html,body{margin:0;padding:0;background:#000;color:#fff;width:468px;height:60px;overflow:hidden;"
               "font:11px sans-serif}"
               "a{color:#7bc618;text-decoration:none}a:hover{text-decoration:underline}"
               ".strip{display:flex;align-items:center;height:60px;gap:8px;padding:0 8px;box-sizing:border-box}"
               ".strip img{width:52px;height:52px;flex:none}"
               ".line{white-space:nowrap;overflow:hidden;text-overflow:ellipsis}"
               "</style></head><body><div class=\"strip\">%1</div></body></html>")
        .arg(body)
        .toUtf8();
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString lookupLink(const QString& name)
{
    // The whole name, percent-encoded as UTF-8, as the app's links expect it.
    const QString link = QStringLiteral("corvale:") + QString::fromLatin1(QUrl::toPercentEncoding(name));
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(escaped(link), escaped(name));
}

} // namespace

QByteArray BannerPage::welcome()
{
    return page(QStringLiteral("<div class=\"line\"><b>Corvale</b> — name an artist you like, and walk on "
                               "from artist to artist.</div>"));
}

QList<PicksFeed::Pick> BannerPage::picksOf(const QString& artist)
{
    QList<PicksFeed::Pick> found;
    for (const PicksFeed::Pick& pick : PicksFeed::picks()) {
        if (QString::compare(pick.artist, artist, Qt::CaseInsensitive) == 0)
            found.append(pick);
    }
    return found;
}

QByteArray BannerPage::picks(const QString& artist, const QList<PicksFeed::Pick>& picks)
{
    QString body;
    for (const PicksFeed::Pick& pick : picks.mid(0, 2)) {
        body += QStringLiteral("<img src=\"/covers/%1\" alt=\"\">").arg(escaped(QString::fromLatin1(QUrl::toPercentEncoding(pick.cover))));
        body += QStringLiteral("<div class=\"line\">%1<br><i>%2</i></div>").arg(lookupLink(artist), escaped(pick.album));
    }
    return page(body);
}

QByteArray BannerPage::similar(const QString& artist, const SimilarArtistList& similar)
{
    QStringList links;
    for (const SimilarArtist& other : similar.mid(0, 3))
        links.append(lookupLink(other.name));
    const QString list = links.isEmpty() ? QStringLiteral("no similar artists known yet") : links.join(QStringLiteral(", "));
    return page(QStringLiteral("<div class=\"line\">Similar to %1: %2</div>").arg(escaped(artist), list));
}

HttpServerResponse BannerPage::response(const QByteArray& body)
{
    HttpServerResponse response;
    response.contentType = "text/html; charset=utf-8";
    response.body = body;
    // Nothing but this service's pictures may load, and nothing may run.
    response.addHeader("Content-Security-Policy", "default-src 'none'; img-src 'self'; style-src 'unsafe-inline'");
    return response;
}
