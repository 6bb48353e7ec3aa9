// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/CorvaleService.h"
#include "Service/ServiceConfig.h"
#include "support/LocalHttpServer.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// One record of a tagged answer as the app reads it.
struct TaggedRecord {
    QString name;
    float rating = 0;
    float popularity = 0;
    bool operator==(const TaggedRecord&) const = default;
};

// Reads a tagged answer with the app's own parser, so service and client agree by test.
QList<TaggedRecord> parseTaggedAnswer(const QByteArray& body);

// True when the body is an answer in the tagged format and well-formed XML: declaration,
// enclosing element, and only complete <r><a>…</a><c>…</c><p>…</p></r> records (numbers with
// at most one decimal, ratings up to 100), the first naming `artist` with rating 100.
bool isWellFormedAnswer(const QByteArray& body, const QString& artist);

// The app's request, built with the app's own address encoder.
QString similarUrl(const QString& base, const QString& artist);

struct HttpResult {
    bool answered = false;
    int status = 0;
    QByteArray body;
    QByteArray source; // X-Corvale-Source
    QByteArray contentType;
};

// A GET that runs while the test goes on; done() turns true when the answer is in.
class PendingGet {
public:
    PendingGet(QNetworkAccessManager& manager, const QString& url);
    bool done() const { return m_result->answered; }
    HttpResult result() const { return *m_result; }

private:
    std::shared_ptr<HttpResult> m_result;
};

HttpResult httpGet(QNetworkAccessManager& manager, const QString& url, int timeoutMs = 8000);

// Writes raw bytes to the port and collects what comes back until the peer closes or the
// time passes.
QByteArray rawExchange(quint16 port, const QByteArray& request, int waitMs = 1500);

// A client on a plain non-blocking socket, for what QTcpSocket cannot do: shut down only its
// sending side, or send without ever reading. The service runs on the test's event loop, so
// callers run the loop (waitUntil) between calls.
class RawClient {
public:
    explicit RawClient(quint16 port, int receiveBufferBytes = 0);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    qsizetype send(const QByteArray& bytes); // what the kernel took now, perhaps nothing
    void shutdownWrite();
    QByteArray receive();                    // what has arrived, without waiting
    QByteArray receiveUntilClosed(int timeoutMs);
    bool closed() const { return m_closed; } // the service closed its side (or reset)

private:
    int m_fd = -1;
    bool m_closed = false;
};

// Recorded upstream answers, in the shapes the services document.
namespace Upstream {
extern const QByteArray musicBrainzPortishead; // best match Portishead, score 100
extern const QByteArray musicBrainzWeak;       // only matches scoring below 90
extern const QByteArray listenBrainzPortishead;
extern const QByteArray lastFmCher;
QByteArray lastFmError(int code, const char* message);
inline const QString portisheadMbid = QStringLiteral("8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11");
} // namespace Upstream

// A service on a free port of 127.0.0.1 with its cache in a scratch folder, and a local
// server that plays MusicBrainz, ListenBrainz and Last.fm.
class ServiceFixture {
public:
    ServiceFixture();
    ~ServiceFixture();

    ServiceConfig config;        // adjust before start()
    LocalHttpServer upstream;
    QNetworkAccessManager manager;

    void start(const QString& providers);
    void stop();
    QString base() const;
    HttpResult similar(const QString& artist) { return httpGet(manager, similarUrl(base(), artist)); }
    int upstreamRequests(const QByteArray& pathPrefix) const;

    std::unique_ptr<CorvaleService> service;

private:
    QTemporaryDir m_scratch;
};
