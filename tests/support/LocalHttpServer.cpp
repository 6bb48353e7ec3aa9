// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LocalHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

HttpReply HttpReply::body(const QByteArray& bytes, int status, const QByteArray& contentType)
{
    HttpReply reply;
    reply.status = status;
    reply.contentType = contentType;
    reply.pieces = {bytes};
    return reply;
}

LocalHttpServer::LocalHttpServer(QObject* parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_handler([](const HttpRequest&) { return HttpReply::body("<html><body>Not Found</body></html>", 404, "text/html"); })
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
}

LocalHttpServer::~LocalHttpServer() = default;

quint16 LocalHttpServer::port() const { return m_server->serverPort(); }

QString LocalHttpServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }

void LocalHttpServer::route(const QString& path, const HttpReply& reply) { m_routes.append({path, reply}); }

void LocalHttpServer::setHandler(std::function<HttpReply(const HttpRequest&)> handler) { m_handler = std::move(handler); }

QList<QByteArray> LocalHttpServer::requestTargets() const { return m_targets; }

int LocalHttpServer::requestCount() const { return int(m_targets.size()); }

void LocalHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("buffer", QByteArray());
    const QByteArray head = buffer.left(end);
    const QByteArray requestLine = head.left(head.indexOf("\r\n") < 0 ? head.size() : head.indexOf("\r\n"));
    const QList<QByteArray> parts = requestLine.split(' ');
    HttpRequest request;
    request.method = parts.value(0);
    request.target = parts.value(1);
    request.path = QUrl::fromEncoded("http://127.0.0.1" + request.target).path();
    request.headers = head.mid(requestLine.size());
    m_targets.append(request.target);
    answer(socket, request);
}

void LocalHttpServer::answer(QTcpSocket* socket, const HttpRequest& request)
{
    HttpReply reply;
    bool routed = false;
    for (const auto& [path, routeReply] : m_routes) {
        if (path == request.path) {
            reply = routeReply;
            routed = true;
            break;
        }
    }
    if (!routed)
        reply = m_handler(request);
    if (reply.neverAnswer)
        return;

    qsizetype length = 0;
    for (const QByteArray& piece : reply.pieces)
        length += piece.size();
    if (reply.closeBeforeEnd)
        length += 1000;

    QByteArray header = "HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\n";
    header += "Content-Type: " + reply.contentType + "\r\n";
    header += "Content-Length: " + QByteArray::number(length) + "\r\n";
    for (const auto& [name, value] : reply.headers)
        header += name + ": " + value + "\r\n";
    header += "Connection: close\r\n\r\n";
    socket->write(header);
    socket->flush();
    sendPieces(socket, reply, 0);
}

void LocalHttpServer::sendPieces(QTcpSocket* socket, HttpReply reply, int next)
{
    if (next >= reply.pieces.size()) {
        if (reply.closeBeforeEnd)
            socket->abort();
        else
            socket->disconnectFromHost();
        return;
    }
    socket->write(reply.pieces.at(next));
    socket->flush();
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(next + 1 < reply.pieces.size() ? reply.pieceDelayMs : 0, this, [this, guard, reply, next] {
        if (guard)
            sendPieces(guard, reply, next + 1);
    });
}
