// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

// What came back from an upstream service.
struct UpstreamReply {
    bool ok = false;         // a complete HTTP answer arrived (any status)
    int status = 0;          // its HTTP status
    QByteArray body;
    QString error;           // why there is no answer: time-out, refused, too large, …
    int retryAfterSeconds = 0;
};

// GET requests to the upstream services: a real User-Agent, a bounded body, and a deadline
// for the whole request that bytes arriving slowly do not extend. Redirects are followed
// only to the same host over https.
class UpstreamClient : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 maxBodyBytes = 4 * 1024 * 1024;

    UpstreamClient(const QByteArray& userAgent, int timeoutMs, QObject* parent = nullptr);

    void get(const QUrl& url, std::function<void(const UpstreamReply&)> done);

private:
    QNetworkAccessManager* m_manager;
    QByteArray m_userAgent;
    int m_timeoutMs;
};

// base with the path appended ("https://host/prefix" + "/ws/2/artist/").
QUrl upstreamUrl(const QUrl& base, const QString& path);
// A query string with every byte outside A-Za-z0-9-._~ percent-encoded, so "+" and "&" in a
// name reach the upstream as themselves.
QString encodedQuery(const QList<QPair<QString, QString>>& items);
