// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceTestSupport.h"

#include "Application/Correlation.h"
#include "Application/CorrelationLookupNode.h"
#include "RKKit/RKExtensions/NSStringExtensions.h"

#include "support/TestUtil.h"

#include <QRegularExpression>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QXmlStreamReader>
#include <QTcpSocket>
#include <QUrl>

QList<TaggedRecord> parseTaggedAnswer(const QByteArray& body)
{
    QList<TaggedRecord> records;
    for (const Correlation& record : CorrelationLookupNode::parseCorrelations(QString::fromUtf8(body)))
        records.append({record.name, record.rating, record.popularity});
    return records;
}

bool isWellFormedAnswer(const QByteArray& body, const QString& artist)
{
    if (!body.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"))
        return false;
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9])?$"));
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("similarartists"))
        return false;
    int records = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("r"))
            return false;
        QStringList fields;
        while (xml.readNextStartElement())
            fields.append(xml.name().toString() + QLatin1Char('=') + xml.readElementText());
        if (fields.size() != 3 || !fields[0].startsWith(QLatin1String("a=")) || !fields[1].startsWith(QLatin1String("c="))
            || !fields[2].startsWith(QLatin1String("p=")))
            return false;
        const QString name = fields[0].mid(2), rating = fields[1].mid(2), popularity = fields[2].mid(2);
        if (name.isEmpty() || !number.match(rating).hasMatch() || !number.match(popularity).hasMatch() || rating.toDouble() > 100)
            return false;
        if (records++ == 0 && (name != artist || rating != QLatin1String("100")))
            return false;
    }
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError() && records > 0;
}

QString similarUrl(const QString& base, const QString& artist)
{
    return base + QStringLiteral("/similar?artist=") + StringExtensions::stringByEscapingURLComponent(artist)
        + CorrelationLookupNode::urlPostfix();
}

PendingGet::PendingGet(QNetworkAccessManager& manager, const QString& url)
    : m_result(std::make_shared<HttpResult>())
{
    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl::fromEncoded(url.toLatin1())));
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, result = m_result] {
        reply->deleteLater();
        result->answered = true;
        result->status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result->body = reply->readAll();
        result->source = reply->rawHeader("X-Corvale-Source");
        result->contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    });
}

HttpResult httpGet(QNetworkAccessManager& manager, const QString& url, int timeoutMs)
{
    PendingGet get(manager, url);
    waitUntil([&] { return get.done(); }, timeoutMs);
    return get.result();
}

QByteArray rawExchange(quint16 port, const QByteArray& request, int waitMs)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(request);
    QByteArray answer;
    bool closed = false;
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { closed = true; });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { answer += socket.readAll(); });
    waitUntil([&] { return closed; }, waitMs);
    answer += socket.readAll();
    return answer;
}

RawClient::RawClient(quint16 port, int receiveBufferBytes)
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (receiveBufferBytes > 0)
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_fd);
        m_fd = -1;
        m_closed = true;
        return;
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
}

RawClient::~RawClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qsizetype RawClient::send(const QByteArray& bytes)
{
    if (m_fd < 0 || bytes.isEmpty())
        return 0;
    const ssize_t sent = ::send(m_fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL);
    return sent > 0 ? sent : 0;
}

void RawClient::shutdownWrite()
{
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_WR);
}

QByteArray RawClient::receive()
{
    QByteArray got;
    char chunk[64 * 1024];
    while (m_fd >= 0 && !m_closed) {
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n > 0)
            got.append(chunk, n);
        else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            m_closed = true;
        else
            break;
    }
    return got;
}

QByteArray RawClient::receiveUntilClosed(int timeoutMs)
{
    QByteArray got;
    waitUntil([&] {
        got += receive();
        return m_closed;
    }, timeoutMs);
    return got;
}

ServiceFixture::ServiceFixture()
{
    config.port = 0;
    config.cachePath = m_scratch.filePath(QStringLiteral("cache.sqlite"));
    config.musicBrainzUrl = QUrl(upstream.baseUrl());
    config.listenBrainzUrl = QUrl(upstream.baseUrl() + QStringLiteral("/labs"));
    config.lastFmUrl = QUrl(upstream.baseUrl());
    config.lastFmApiKey = QStringLiteral("test-key");
    config.userAgent = QStringLiteral("corvale-service/test ( tests@corvale.invalid )");
    config.upstreamTimeoutMs = 2000;
    config.musicBrainzIntervalMs = 0;
}

ServiceFixture::~ServiceFixture() { stop(); }

void ServiceFixture::start(const QString& providers)
{
    config.providers = providers.split(QLatin1Char(','));
    service = std::make_unique<CorvaleService>(config);
    QString error;
    if (!service->listen(&error))
        qFatal("%s", qPrintable(error));
}

void ServiceFixture::stop() { service.reset(); }

QString ServiceFixture::base() const { return QStringLiteral("http://127.0.0.1:%1").arg(service->port()); }

int ServiceFixture::upstreamRequests(const QByteArray& pathPrefix) const
{
    int count = 0;
    for (const QByteArray& target : upstream.requestTargets())
        count += target.startsWith(pathPrefix) ? 1 : 0;
    return count;
}

namespace Upstream {

const QByteArray musicBrainzPortishead = R"({
  "created": "2024-05-02T09:14:03.000Z", "count": 3, "offset": 0,
  "artists": [
    {"id": "8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11", "type": "Group", "score": 100, "name": "Portishead",
     "sort-name": "Portishead", "country": "GB", "disambiguation": "",
     "life-span": {"begin": "1991", "ended": null}, "tags": [{"count": 9, "name": "trip hop"}]},
    {"id": "0a1b2c3d-1111-4222-8333-444455556666", "type": "Person", "score": 64, "name": "Portishead Pete",
     "sort-name": "Pete, Portishead"},
    {"id": "not-an-id", "score": 100, "name": "Portishead"}
  ]
})";

const QByteArray musicBrainzWeak = R"({
  "created": "2024-05-02T09:14:03.000Z", "count": 1, "offset": 0,
  "artists": [{"id": "0a1b2c3d-1111-4222-8333-444455556666", "type": "Person", "score": 71, "name": "Portis Head"}]
})";

const QByteArray listenBrainzPortishead = R"([
  {"artist_mbid": "10adbe5e-a2c0-4bf3-8249-2b4cbf6e6ca8", "name": "Massive Attack", "comment": "", "type": "Group",
   "gender": null, "score": 2400, "reference_mbid": "8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11"},
  {"artist_mbid": "8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11", "name": "Portishead", "score": 5100,
   "reference_mbid": "8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11"},
  {"artist_mbid": "f8a0b1c2-3d4e-4f50-9a6b-7c8d9e0f1a2b", "name": "Beth Gibbons", "comment": "", "type": "Person",
   "gender": "Female", "score": 1200, "reference_mbid": "8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11"},
  {"artist_mbid": "a1b2c3d4-0000-4000-8000-00000000aaaa", "name": "Tricky", "comment": "", "type": "Person",
   "gender": "Male", "score": 1800, "reference_mbid": "8f6bd1e4-fbe1-4f50-aa9b-94c450ec0f11"},
  {"artist_mbid": "b1b2c3d4-0000-4000-8000-00000000bbbb", "name": "<b>Broken</b> Markup", "score": 900},
  {"artist_mbid": "c1b2c3d4-0000-4000-8000-00000000cccc", "name": 42, "score": 800},
  {"artist_mbid": "d1b2c3d4-0000-4000-8000-00000000dddd", "name": "Sneaker Pimps", "score": "lots"}
])";

const QByteArray lastFmCher = R"({"similarartists": {"artist": [
  {"name": "Sonny & Cher", "mbid": "", "match": "1", "url": "https://www.last.fm/music/Sonny+&+Cher",
   "image": [{"#text": "", "size": "small"}], "streamable": "0"},
  {"name": "Kylie Minogue", "mbid": "", "match": "0.654321", "url": "https://www.last.fm/music/Kylie+Minogue",
   "image": [], "streamable": "0"},
  {"name": "Madonna", "mbid": "", "match": "0.5", "url": "https://www.last.fm/music/Madonna", "image": [],
   "streamable": "0"},
  {"name": "Broken Match", "match": "n/a"}
], "@attr": {"artist": "Cher"}}})";

QByteArray lastFmError(int code, const char* message)
{
    return "{\"error\": " + QByteArray::number(code) + ", \"message\": \"" + message + "\", \"links\": []}";
}

} // namespace Upstream
