// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTcpServer;
class QTcpSocket;

// One answer of the test server. The body goes out as the given pieces, one at a time
// with a pause between them, so a client sees them as separate reads.
struct HttpReply {
    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QList<QByteArray> pieces;
    QList<QPair<QByteArray, QByteArray>> headers; // sent besides Content-Type and Content-Length
    int pieceDelayMs = 40;
    bool closeBeforeEnd = false; // announce more bytes than are sent, then drop the connection
    bool neverAnswer = false;    // read the request and stay silent

    static HttpReply body(const QByteArray& bytes, int status = 200,
                          const QByteArray& contentType = "text/plain; charset=utf-8");
};

struct HttpRequest {
    QByteArray method;
    QByteArray target; // the raw request target: path and query exactly as sent
    QString path;      // the target's path, percent-decoded
    QByteArray headers;
};

// A real HTTP/1.1 server on 127.0.0.1 for tests, on a free port chosen by the system.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    explicit LocalHttpServer(QObject* parent = nullptr);
    ~LocalHttpServer() override;

    quint16 port() const;
    QString baseUrl() const; // "http://127.0.0.1:PORT"

    // Answers requests whose path (without query) equals the given path.
    void route(const QString& path, const HttpReply& reply);
    // Answers every request not matched by a route; the default answers 404.
    void setHandler(std::function<HttpReply(const HttpRequest&)> handler);

    QList<QByteArray> requestTargets() const; // in arrival order
    int requestCount() const;

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const HttpRequest& request);
    void sendPieces(QTcpSocket* socket, HttpReply reply, int next);

    QTcpServer* m_server;
    QList<QPair<QString, HttpReply>> m_routes;
    std::function<HttpReply(const HttpRequest&)> m_handler;
    QList<QByteArray> m_targets;
};
