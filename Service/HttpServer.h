#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>

#include <functional>

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

// A small HTTP/1.1 server on QTcpServer: keep-alive, one request at a time per connection
// (pipelined requests wait their turn), answers that may come later, and bounded buffers.
class HttpServer : public QObject {
    Q_OBJECT
public:
    static constexpr int maxHeadBytes = 32 * 1024;
    static constexpr int maxBodyBytes = 64 * 1024;
    static constexpr int maxConnections = 1024;
    static constexpr int idleTimeoutMs = 30000;

    explicit HttpServer(HttpHandler handler, QObject* parent = nullptr);
    ~HttpServer() override;

    bool listen(const QHostAddress& address, quint16 port);
    quint16 serverPort() const;
    QString errorString() const;
    int connectionCount() const { return m_connections; }

private:
    void onNewConnection();

    QTcpServer* m_server;
    HttpHandler m_handler;
    int m_connections = 0;
};
