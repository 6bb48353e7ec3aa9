#include "Service/HttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

} // namespace

// One client connection: parses requests, hands them to the handler one at a time and
// writes the answers in order.
class HttpConnection : public QObject {
public:
    HttpConnection(QTcpSocket* socket, const HttpHandler& handler, QObject* parent)
        : QObject(parent)
        , m_socket(socket)
        , m_handler(handler)
        , m_idle(new QTimer(this))
    {
        socket->setParent(this);
        m_idle->setSingleShot(true);
        m_idle->setInterval(HttpServer::idleTimeoutMs);
        connect(m_idle, &QTimer::timeout, this, [this] { m_socket->abort(); });
        connect(socket, &QTcpSocket::readyRead, this, &HttpConnection::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        connect(socket, &QTcpSocket::errorOccurred, this, [this] {
            if (m_socket->state() != QAbstractSocket::ConnectedState)
                deleteLater();
        });
        m_idle->start();
    }

    void deliver(quint64 serial, const HttpServerResponse& response)
    {
        if (!m_busy || serial != m_serial || m_closing)
            return;
        write(response, m_keepAlive);
        m_busy = false;
        if (!m_keepAlive) {
            close();
            return;
        }
        m_idle->start();
        if (!m_processing)
            process();
    }

private:
    void onReadyRead()
    {
        if (m_closing) {
            m_socket->readAll();
            return;
        }
        m_buffer += m_socket->readAll();
        if (!m_busy)
            m_idle->start();
        process();
    }

    void process()
    {
        m_processing = true;
        while (!m_busy && !m_closing && parseOne()) {
        }
        m_processing = false;
    }

    // Takes one complete request off the buffer and dispatches it; false when more bytes are needed.
    bool parseOne()
    {
        const qsizetype end = m_buffer.indexOf("\r\n\r\n");
        if (end < 0) {
            if (m_buffer.size() > HttpServer::maxHeadBytes)
                fail(431);
            else if (m_buffer.size() > 2 * HttpServer::maxBodyBytes)
                fail(400); // pipelined bytes beyond any sane request
            return false;
        }
        if (end > HttpServer::maxHeadBytes) {
            fail(431);
            return false;
        }
        const QByteArray head = m_buffer.left(end);
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> parts = lines.first().trimmed().split(' ');
        if (parts.size() != 3 || parts[0].isEmpty() || !parts[1].startsWith('/') || !parts[2].startsWith("HTTP/1.")) {
            fail(400);
            return false;
        }
        HttpServerRequest request;
        request.method = parts[0];
        request.target = parts[1];
        const qsizetype question = request.target.indexOf('?');
        request.path = question < 0 ? request.target : request.target.left(question);
        request.query = question < 0 ? QByteArray() : request.target.mid(question + 1);
        const bool http10 = parts[2] == "HTTP/1.0";
        QByteArray connectionHeader;
        qint64 contentLength = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray& line = lines[i];
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0) {
                fail(400);
                return false;
            }
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "host") {
                request.host = value;
            } else if (name == "connection") {
                connectionHeader = value.toLower();
            } else if (name == "content-length") {
                bool ok = false;
                contentLength = value.toLongLong(&ok);
                if (!ok || contentLength < 0) {
                    fail(400);
                    return false;
                }
            } else if (name == "transfer-encoding") {
                fail(501);
                return false;
            }
        }
        if (contentLength > HttpServer::maxBodyBytes) {
            fail(413);
            return false;
        }
        const qsizetype total = end + 4 + qsizetype(contentLength);
        if (m_buffer.size() < total)
            return false;
        m_buffer.remove(0, total);

        m_keepAlive = http10 ? connectionHeader.contains("keep-alive") : !connectionHeader.contains("close");
        m_head = request.method == "HEAD";
        m_busy = true;
        m_idle->stop();
        ++m_serial;
        m_handler(request, HttpResponder(this, m_serial));
        return true;
    }

    void write(const HttpServerResponse& response, bool keepAlive)
    {
        QByteArray out;
        out.reserve(256 + response.body.size());
        out += "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
        out += "Content-Type: " + response.contentType + "\r\n";
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        for (const auto& [name, value] : response.headers)
            out += name + ": " + value + "\r\n";
        out += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
        if (!m_head)
            out += response.body;
        m_socket->write(out);
    }

    void fail(int status)
    {
        m_head = false;
        write(HttpServerResponse::text(status, reasonPhrase(status) + '\n'), false);
        close();
    }

    void close()
    {
        m_closing = true;
        m_buffer.clear();
        m_socket->disconnectFromHost();
        m_idle->start(2000); // abort if the peer never reads the rest
    }

    QTcpSocket* m_socket;
    HttpHandler m_handler;
    QTimer* m_idle;
    QByteArray m_buffer;
    quint64 m_serial = 0;
    bool m_busy = false;
    bool m_keepAlive = true;
    bool m_head = false;
    bool m_closing = false;
    bool m_processing = false;
};

HttpServerResponse HttpServerResponse::text(int status, const QByteArray& body)
{
    HttpServerResponse response;
    response.status = status;
    response.body = body;
    return response;
}

HttpResponder::HttpResponder(HttpConnection* connection, quint64 serial)
    : m_connection(connection)
    , m_serial(serial)
{
}

void HttpResponder::respond(const HttpServerResponse& response) const
{
    if (m_connection)
        m_connection->deliver(m_serial, response);
}

HttpServer::HttpServer(HttpHandler handler, QObject* parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_handler(std::move(handler))
{
    connect(m_server, &QTcpServer::newConnection, this, &HttpServer::onNewConnection);
}

HttpServer::~HttpServer() = default;

bool HttpServer::listen(const QHostAddress& address, quint16 port) { return m_server->listen(address, port); }

quint16 HttpServer::serverPort() const { return m_server->serverPort(); }

QString HttpServer::errorString() const { return m_server->errorString(); }

void HttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        if (m_connections >= maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* connection = new HttpConnection(socket, m_handler, this);
        ++m_connections;
        connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
    }
}
