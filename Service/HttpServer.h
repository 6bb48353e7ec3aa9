// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class QTcpServer;
class HttpConnection;

// One request as it came off the wire; path and query are still percent-encoded.
struct HttpServerRequest {
    QByteArray method;
    QByteArray target;
    QByteArray path;
    QByteArray query;
    QByteArray host;
};

struct HttpServerResponse {
    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    static HttpServerResponse text(int status, const QByteArray& body);
    void addHeader(const QByteArray& name, const QByteArray& value) { headers.append({name, value}); }
};

// Sends the answer to one request. It may be copied and kept while an answer is being
// prepared; if the client has gone by then, respond() does nothing.
class HttpResponder {
public:
    void respond(const HttpServerResponse& response) const;

private:
    friend class HttpConnection;
    HttpResponder(HttpConnection* connection, quint64 serial);
    QPointer<HttpConnection> m_connection;
    quint64 m_serial = 0;
};

using HttpHandler = std::function<void(const HttpServerRequest&, const HttpResponder&)>;

// Percent-decoding that refuses what is not a valid escape ("%G1", a "%" near the end);
// "+" is left as it is.
std::optional<QByteArray> percentDecoded(const QByteArray& encoded);

// A small HTTP/1.1 server: keep-alive, one request at a time per connection (pipelined
// requests wait their turn), answers that may come later, and bounded memory and time per
// connection:
//  - a connection is read only while it has no request being answered and less than
//    maxUnsentBytes of answers waiting to go out, so neither a client that pipelines
//    without reading nor one that keeps sending during a slow answer grows the service;
//  - a request must arrive whole within the request time-out, counted from its first byte
//    (or from the connection): later bytes do not extend it;
//  - a client that shuts down its sending side still gets the answers to what it sent.
// The socket is driven directly, because QTcpSocket closes both directions on end of input.
class HttpServer : public QObject {
    Q_OBJECT
public:
    static constexpr int maxHeadBytes = 32 * 1024;
    static constexpr int maxBodyBytes = 64 * 1024;
    static constexpr int maxConnections = 1024;
    static constexpr int idleTimeoutMs = 30000;            // between requests, and for a client that stops reading
    static constexpr int defaultRequestTimeoutMs = 10000;  // for one whole request
    static constexpr qsizetype maxUnsentBytes = 1024 * 1024;

    explicit HttpServer(HttpHandler handler, QObject* parent = nullptr);
    ~HttpServer() override;

    bool listen(const QHostAddress& address, quint16 port);
    quint16 serverPort() const;
    QString errorString() const;
    int connectionCount() const { return int(m_connections.size()); }

    void setRequestTimeoutMs(int milliseconds) { m_requestTimeoutMs = milliseconds; }
    int requestTimeoutMs() const { return m_requestTimeoutMs; }
    // Host header values (without port, case-insensitive) that are answered; a request
    // naming any other host gets 421, so a web page cannot reach the service through a
    // name of its own that resolves to this machine. Empty: every host is answered.
    void setAllowedHosts(const QStringList& hosts);
    bool isAllowedHost(const QByteArray& host) const;

    // Bytes held for all connections: requests read but not yet handled, answers not yet sent.
    qsizetype bufferedBytes() const;

private:
    void accept(qintptr descriptor);

    QTcpServer* m_server;
    HttpHandler m_handler;
    QList<HttpConnection*> m_connections;
    QStringList m_allowedHosts;
    int m_requestTimeoutMs = defaultRequestTimeoutMs;
};
