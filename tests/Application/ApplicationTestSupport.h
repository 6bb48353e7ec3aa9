// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared pieces of the application's tests: a real similar-artist server on 127.0.0.1 that the
// defaults key "ServiceURL" points at, answering with the service's own answer writer.

#include "Application/Correlation.h"
#include "Application/Node.h"
#include "Platform/UserDefaults.h"
#include "RKKit/RKTableCell.h"
#include "Service/TaggedAnswer.h"
#include "support/LocalHttpServer.h"

#include <QPainter>
#include <QUrlQuery>

#include <utility>
#include <vector>

// The primary texts of a node's children, in order.
inline QStringList primaries(const Node& node)
{
    QStringList texts;
    for (const auto& child : node.nodes())
        texts.append(child->primaryString());
    return texts;
}

// Similar-artist records from (name, rating) pairs.
inline std::vector<Correlation> records(std::initializer_list<std::pair<const char*, float>> list)
{
    std::vector<Correlation> out;
    for (const auto& [name, rating] : list)
        out.push_back(Correlation{QString::fromUtf8(name), rating, 0});
    return out;
}

// A similar-artist service answering /similar?artist=NAME from a table; unknown artists get
// an answer with only the first record.
class SimilarArtistServer : public LocalHttpServer {
public:
    SimilarArtistServer()
    {
        UserDefaults::standardUserDefaults().setObjectForKey(baseUrl(), QStringLiteral("ServiceURL"));
        setHandler([this](const HttpRequest& request) {
            if (request.path != QLatin1String("/similar"))
                return HttpReply::body("<html>Not Found</html>", 404, "text/html");
            const QUrlQuery query(QUrl::fromEncoded("http://x" + request.target));
            const QString artist = query.queryItemValue(QStringLiteral("artist"), QUrl::FullyDecoded);
            HttpReply reply = HttpReply::body(taggedAnswer(artist, 100, answers.value(artist)), 200, "text/xml; charset=utf-8");
            reply.pieceDelayMs = delayMs;
            if (delayMs > 0)
                reply.pieces.prepend(QByteArray());
            return reply;
        });
    }

    // The artists asked for, decoded, in order.
    QStringList askedArtists() const
    {
        QStringList asked;
        for (const QByteArray& target : requestTargets()) {
            const QUrl url = QUrl::fromEncoded("http://x" + target);
            if (url.path() == QLatin1String("/similar"))
                asked.append(QUrlQuery(url).queryItemValue(QStringLiteral("artist"), QUrl::FullyDecoded));
        }
        return asked;
    }

    QHash<QString, SimilarArtistList> answers;
    int delayMs = 0; // a pause before the body, to keep a transfer running
};

// A row painted as a table paints it: its background for the colour index, then the node,
// into an image of the node's height at the given device pixel ratio.
inline QImage renderRow(Node& node, int width, std::int32_t colorIndex, qreal ratio = 1, bool lightBlue = false)
{
    const int height = int(node.rowHeight());
    QImage image(QSize(width, height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    const QRectF frame(0, 0, width, height);
    RKTableCell::drawBackgroundInRect(painter, frame, lightBlue, colorIndex);
    node.rkColorIndex = colorIndex;
    node.drawWithFrameInView(painter, frame, nullptr);
    return image;
}
