// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/HttpServer.h"

#include <QList>
#include <QString>

// The curated picks the service ships: the list as an XML property list, and the cover
// pictures it names.
class PicksFeed {
public:
    struct Pick {
        QString artist, album, description, cover;
    };

    // The picks compiled into the service.
    static const QList<Pick>& picks();
    // The list, with each cover's address under `baseUrl` ("http://127.0.0.1:8642").
    static HttpServerResponse list(const QString& baseUrl);
    // A cover by file name ("dummy.png"); 404 for any other name.
    static HttpServerResponse cover(const QString& fileName);
};
