// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/HttpServer.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 421: return "Misdirected Request";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

constexpr qsizetype readChunk = 16 * 1024;
constexpr int lingerMs = 2000; // after our last answer, how long the client may take to close

// Hands the accepted descriptor over instead of wrapping it in a QTcpSocket.
class DescriptorServer : public QTcpServer {
public:
    std::function<void(qintptr)> onDescriptor;

protected:
    void incomingConnection(qintptr descriptor) override { onDescriptor(descriptor); }
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isDigits(const QByteArray& text)
{
    return !text.isEmpty() && text.size() <= 18 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The host of a Host header value, without its port: "[::1]:80" → "::1", "localhost:8642" → "localhost".
QByteArray hostWithoutPort(const QByteArray& value)
{
    if (value.startsWith('[')) {
        const qsizetype close = value.indexOf(']');
        return close < 0 ? value : value.mid(1, close - 1);
    }
    const qsizetype colon = value.indexOf(':');
    return colon < 0 ? value : value.left(colon);
}

} // namespace

std::optional<QByteArray> percentDecoded(const QByteArray& encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            decoded += encoded[i];
            continue;
        }
        const int high = i + 2 < encoded.size() ? hexDigit(encoded[i + 1]) : -1;
        const int low = i + 2 < encoded.size() ? hexDigit(encoded[i + 2]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        decoded += char(high * 16 + low);
        i += 2;
    }
    return decoded;
}

// One client connection on a non-blocking socket: reads requests while it may, hands them to
// the handler one at a time and writes the answers in order.
class HttpConnection : public QObject {
public:
    HttpConnection(int descriptor, HttpServer* server, const HttpHandler& handler)
        : QObject(server)
        , m_fd(descriptor)
        , m_server(server)
        , m_handler(handler)
        , m_readable(new QSocketNotifier(descriptor, QSocketNotifier::Read, this))
        , m_writable(new QSocketNotifier(descriptor, QSocketNotifier::Write, this))
        , m_timer(new QTimer(this))
    {
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
        m_writable->setEnabled(false);
        m_timer->setSingleShot(true);
        connect(m_readable, &QSocketNotifier::activated, this, &HttpConnection::onReadable);
        connect(m_writable, &QSocketNotifier::activated, this, &HttpConnection::onWritable);
        connect(m_timer, &QTimer::timeout, this, &HttpConnection::onTimeout);
        enter(Phase::Request); // the first request, too, has to arrive in time
    }

    ~HttpConnection() override { closeDescriptor(); }

    qsizetype bufferedBytes() const { return m_in.size() + unsentBytes(); }

    void deliver(quint64 serial, const HttpServerResponse& response)
    {
        if (m_phase != Phase::Busy || serial != m_serial)
            return;
        write(response, m_keepAlive);
        if (!m_keepAlive) {
            finish();
            return;
        }
        enter(m_in.isEmpty() ? Phase::Idle : Phase::Request);
        if (!m_processing)
            process();
    }

private:
    // What the connection is doing, and so what its one timer means:
    //   Idle     waiting for the first byte of the next request (idle time-out)
    //   Request  a request is arriving; it must be complete by the deadline set on entry
    //   Busy     the handler has a request; no time-out here (the handler bounds its own work)
    //   Stalled  answers wait for a client that does not read; dropped if none leaves in time
    //   Closing  the last answer is going out; then the socket is shut down and closed
    enum class Phase { Idle, Request, Busy, Stalled, Closing };

    // Arms the timer when the phase changes, never when it stays: this is what keeps later
    // bytes of a request from extending its deadline.
    void enter(Phase phase)
    {
        if (m_fd < 0 || (phase == m_phase && m_timer->isActive()))
            return;
        m_phase = phase;
        switch (phase) {
        case Phase::Idle: m_timer->start(HttpServer::idleTimeoutMs); break;
        case Phase::Request: m_timer->start(m_server->requestTimeoutMs()); break;
        case Phase::Busy: m_timer->stop(); break;
        case Phase::Stalled: m_timer->start(HttpServer::idleTimeoutMs); break;
        case Phase::Closing: m_timer->start(lingerMs); break;
        }
        updateNotifiers();
    }

    qsizetype unsentBytes() const { return m_out.size() - m_outSent; }

    // Reading stops while a request is being answered, while answers pile up unsent, and
    // once one request's worth of bytes is buffered: what a client sends beyond that waits
    // in the kernel, whose buffers are bounded, and not in this process.
    bool wantsInput() const
    {
        if (m_fd < 0 || m_peerDone)
            return false;
        if (m_phase == Phase::Closing)
            return true; // read and discard until the client closes, so closing sends no reset
        return (m_phase == Phase::Idle || m_phase == Phase::Request)
            && m_in.size() < HttpServer::maxHeadBytes + HttpServer::maxBodyBytes + 4;
    }

    void updateNotifiers()
    {
        if (m_fd < 0)
            return;
        m_readable->setEnabled(wantsInput());
        m_writable->setEnabled(unsentBytes() > 0);
    }

    void onReadable()
    {
        char chunk[readChunk];
        while (wantsInput()) {
            const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (got > 0) {
                if (m_phase != Phase::Closing)
                    m_in.append(chunk, got);
                continue;
            }
            if (got == 0) {
                m_peerDone = true; // the client has shut down its side; it may still read
            } else if (errno == EINTR) {
                continue;
            } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
                drop();
                return;
            }
            break;
        }
        if (m_phase == Phase::Closing) {
            if (m_peerDone)
                drop();
            return;
        }
        if (m_phase == Phase::Idle && !m_in.isEmpty())
            enter(Phase::Request);
        process();
    }

    void onWritable()
    {
        flush();
        if (m_fd < 0)
            return;
        if (m_phase == Phase::Stalled) {
            if (unsentBytes() <= HttpServer::maxUnsentBytes) {
                enter(m_in.isEmpty() ? Phase::Idle : Phase::Request);
                process();
            } else if (m_progress) {
                m_timer->start(HttpServer::idleTimeoutMs); // the client reads, slowly
            }
        } else if (m_phase == Phase::Closing && unsentBytes() == 0) {
            ::shutdown(m_fd, SHUT_WR);
        }
        updateNotifiers();
    }

    void onTimeout()
    {
        switch (m_phase) {
        case Phase::Request:
            fail(408);
            break;
        case Phase::Idle:
        case Phase::Stalled:
        case Phase::Closing:
            drop();
            break;
        case Phase::Busy:
            break;
        }
    }

    void process()
    {
        m_processing = true;
        while (m_fd >= 0 && (m_phase == Phase::Idle || m_phase == Phase::Request)) {
            if (unsentBytes() > HttpServer::maxUnsentBytes) {
                enter(Phase::Stalled);
                break;
            }
            if (!parseOne())
                break;
        }
        m_processing = false;
        if (m_fd < 0)
            return;
        // A client that has shut down its side gets the answers to its complete requests;
        // once there is none left to answer, the connection closes.
        if (m_peerDone && (m_phase == Phase::Idle || m_phase == Phase::Request))
            finish();
        updateNotifiers();
    }

    // The end of the head (just past its empty line) and its lines without their endings;
    // lines may end in CRLF or a bare LF. -1 while the head is incomplete, -2 when malformed.
    qsizetype splitHead(QList<QByteArray>& lines) const
    {
        qsizetype at = 0;
        while (true) {
            const qsizetype newline = m_in.indexOf('\n', at);
            if (newline < 0)
                return -1;
            QByteArray line = m_in.mid(at, newline - at);
            if (line.endsWith('\r'))
                line.chop(1);
            at = newline + 1;
            if (line.contains('\r'))
                return -2;
            if (line.isEmpty()) {
                if (lines.isEmpty())
                    continue; // empty lines before a request line are ignored
                return at;
            }
            lines.append(line);
        }
    }

    // Takes one complete request off the buffer and dispatches it; false when more bytes are needed.
    bool parseOne()
    {
        QList<QByteArray> lines;
        const qsizetype end = splitHead(lines);
        if (end == -2 || (end < 0 && m_in.size() > HttpServer::maxHeadBytes)) {
            fail(end == -2 ? 400 : 431);
            return false;
        }
        if (end < 0)
            return false;
        if (end > HttpServer::maxHeadBytes) {
            fail(431);
            return false;
        }
        const QList<QByteArray> parts = lines.first().split(' ');
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
        std::optional<QByteArray> contentLength;
        bool hostSeen = false;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray& line = lines[i];
            const qsizetype colon = line.indexOf(':');
            // No name, white space before the colon, or a folded continuation line.
            if (colon <= 0 || line[colon - 1] == ' ' || line[colon - 1] == '\t' || line[0] == ' ' || line[0] == '\t') {
                fail(400);
                return false;
            }
            const QByteArray name = line.left(colon).toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "host") {
                if (hostSeen) {
                    fail(400);
                    return false;
                }
                hostSeen = true;
                request.host = value;
            } else if (name == "connection") {
                connectionHeader += value.toLower() + ',';
            } else if (name == "content-length") {
                // Two different lengths leave the end of the request unknown.
                if (!isDigits(value) || (contentLength && *contentLength != value)) {
                    fail(400);
                    return false;
                }
                contentLength = value;
            } else if (name == "transfer-encoding") {
                fail(501);
                return false;
            }
        }
        const qint64 bodyBytes = contentLength ? contentLength->toLongLong() : 0;
        if (bodyBytes > HttpServer::maxBodyBytes) {
            fail(413);
            return false;
        }
        const qsizetype total = end + qsizetype(bodyBytes);
        if (m_in.size() < total)
            return false;
        m_in.remove(0, total);
        if (hostSeen && !m_server->isAllowedHost(request.host)) {
            fail(421);
            return false;
        }

        m_keepAlive = http10 ? connectionHeader.contains("keep-alive") : !connectionHeader.contains("close");
        m_head = request.method == "HEAD";
        enter(Phase::Busy);
        ++m_serial;
        m_handler(request, HttpResponder(this, m_serial));
        return true;
    }

    // The head and body go out in one buffer, built by appending: one allocation, and one
    // send when the kernel takes it all.
    void write(const HttpServerResponse& response, bool keepAlive)
    {
        QByteArray out;
        out.reserve(256 + response.contentType.size() + response.body.size());
        out.append("HTTP/1.1 ").append(QByteArray::number(response.status)).append(' ').append(reasonPhrase(response.status));
        out.append("\r\nContent-Type: ").append(response.contentType);
        out.append("\r\nContent-Length: ").append(QByteArray::number(response.body.size())).append("\r\n");
        for (const auto& [name, value] : response.headers)
            out.append(name).append(": ").append(value).append("\r\n");
        out.append(keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n");
        if (!m_head)
            out.append(response.body);
        if (unsentBytes() == 0) {
            m_out = std::move(out);
            m_outSent = 0;
        } else {
            if (m_outSent > 0 && m_outSent * 2 >= m_out.size()) {
                m_out.remove(0, m_outSent);
                m_outSent = 0;
            }
            m_out.append(out);
        }
        flush();
    }

    // Sends what the kernel takes now; the write notifier brings the rest.
    void flush()
    {
        m_progress = false;
        while (m_fd >= 0 && unsentBytes() > 0) {
            const ssize_t sent = ::send(m_fd, m_out.constData() + m_outSent, std::size_t(unsentBytes()), MSG_NOSIGNAL);
            if (sent > 0) {
                m_outSent += sent;
                m_progress = true;
            } else if (sent < 0 && errno == EINTR) {
                continue;
            } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            } else {
                drop();
                return;
            }
        }
        if (unsentBytes() == 0) {
            m_out.clear();
            m_outSent = 0;
        }
        updateNotifiers();
    }

    void fail(int status)
    {
        m_head = false;
        write(HttpServerResponse::text(status, reasonPhrase(status) + '\n'), false);
        finish();
    }

    // No more requests are read; the answers already written still go out.
    void finish()
    {
        if (m_fd < 0)
            return;
        m_in.clear();
        enter(Phase::Closing);
        if (unsentBytes() == 0)
            ::shutdown(m_fd, SHUT_WR);
        if (m_peerDone && unsentBytes() == 0)
            drop();
    }

    void closeDescriptor()
    {
        if (m_fd < 0)
            return;
        m_readable->setEnabled(false);
        m_writable->setEnabled(false);
        ::close(m_fd);
        m_fd = -1;
    }

    void drop()
    {
        closeDescriptor();
        m_timer->stop();
        m_in.clear();
        m_out.clear();
        m_outSent = 0;
        deleteLater();
    }

    int m_fd;
    HttpServer* m_server;
    HttpHandler m_handler;
    QSocketNotifier* m_readable;
    QSocketNotifier* m_writable;
    QTimer* m_timer;
    Phase m_phase = Phase::Busy; // replaced in the constructor
    QByteArray m_in;
    QByteArray m_out;
    qsizetype m_outSent = 0;
    quint64 m_serial = 0;
    bool m_keepAlive = true;
    bool m_head = false;
    bool m_processing = false;
    bool m_peerDone = false;
    bool m_progress = false;
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
    , m_handler(std::move(handler))
{
    auto* server = new DescriptorServer;
    server->setParent(this);
    server->onDescriptor = [this](qintptr descriptor) { accept(descriptor); };
    m_server = server;
}

HttpServer::~HttpServer()
{
    // Connections go first, while the server they ask for settings still exists.
    for (HttpConnection* connection : std::exchange(m_connections, {}))
        delete connection;
}

bool HttpServer::listen(const QHostAddress& address, quint16 port) { return m_server->listen(address, port); }

quint16 HttpServer::serverPort() const { return m_server->serverPort(); }

QString HttpServer::errorString() const { return m_server->errorString(); }

void HttpServer::setAllowedHosts(const QStringList& hosts)
{
    m_allowedHosts.clear();
    for (const QString& host : hosts)
        m_allowedHosts.append(host.toLower());
}

bool HttpServer::isAllowedHost(const QByteArray& host) const
{
    if (m_allowedHosts.isEmpty())
        return true;
    return m_allowedHosts.contains(QString::fromLatin1(hostWithoutPort(host)).toLower());
}

qsizetype HttpServer::bufferedBytes() const
{
    qsizetype total = 0;
    for (const HttpConnection* connection : m_connections)
        total += connection->bufferedBytes();
    return total;
}

void HttpServer::accept(qintptr descriptor)
{
    if (m_connections.size() >= maxConnections) {
        ::close(int(descriptor));
        return;
    }
    auto* connection = new HttpConnection(int(descriptor), this, m_handler);
    m_connections.append(connection);
    connect(connection, &QObject::destroyed, this, [this, connection] { m_connections.removeOne(connection); });
}
