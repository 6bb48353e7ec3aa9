// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/CorvaleService.h"

#include "Service/AnswerCache.h"
#include "Service/BannerPage.h"
#include "Service/HttpServer.h"
#include "Service/PicksFeed.h"
#include "Service/ProviderRegistry.h"
#include "Service/ProviderTable.h"
#include "Service/TaggedAnswer.h"
#include "Service/UpstreamClient.h"

#include <QPointer>
#include <QStringDecoder>
#include <QUrl>
#include <QtDebug>

namespace {

const QByteArray taggedType = "text/xml; charset=utf-8";

// The value of the first `key=` item of a raw query, "+"- and percent-decoded; none if absent.
// `malformed` turns true when an item holds a broken percent escape.
std::optional<QByteArray> queryValue(const QByteArray& query, const QByteArray& key, bool* malformed)
{
    for (const QByteArray& item : query.split('&')) {
        const qsizetype equals = item.indexOf('=');
        QByteArray name = equals < 0 ? item : item.left(equals);
        QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        const auto decodedName = percentDecoded(name.replace('+', ' '));
        const auto decodedValue = percentDecoded(value.replace('+', ' '));
        if (!decodedName || !decodedValue) {
            *malformed = true;
            return std::nullopt;
        }
        if (*decodedName == key)
            return decodedValue;
    }
    return std::nullopt;
}

HttpServerResponse badRequest(const QByteArray& why) { return HttpServerResponse::text(400, why + '\n'); }

// The artist a query names: UTF-8, spaces folded, not empty, not too long, and sendable in the
// tagged format (no "<", no control characters). Otherwise none, and why.
std::optional<QString> artistName(const std::optional<QByteArray>& raw, QByteArray* whyNot)
{
    if (!raw) {
        *whyNot = "artist is missing";
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(*raw);
    if (decoder.hasError()) {
        *whyNot = "artist is not UTF-8";
        return std::nullopt;
    }
    const QString artist = decoded.simplified();
    if (artist.isEmpty() || artist.size() > CorvaleService::maxArtistLength) {
        *whyNot = "artist is empty or too long";
        return std::nullopt;
    }
    if (!ProviderRegistry::isSendableName(artist)) {
        *whyNot = "artist holds characters a name cannot have";
        return std::nullopt;
    }
    return artist;
}

// Host names a client of this machine uses for the service, besides the configured ones.
const QStringList loopbackHosts{QStringLiteral("127.0.0.1"), QStringLiteral("localhost"), QStringLiteral("::1")};

} // namespace

CorvaleService::CorvaleService(const ServiceConfig& config, QObject* parent)
    : QObject(parent)
    , m_config(config)
    , m_cache(std::make_unique<AnswerCache>(config.cachePath))
    , m_registry(new ProviderRegistry(m_cache.get(), config.cacheMaxAgeSeconds, this))
    , m_server(new HttpServer([this](const HttpServerRequest& request, const HttpResponder& responder) {
        handle(request, responder);
    }, this))
{
    m_server->setRequestTimeoutMs(config.requestTimeoutMs);
    QStringList hosts = loopbackHosts;
    hosts.append(config.address.toString());
    if (!config.publicUrl.isEmpty())
        hosts.append(QUrl(config.publicUrl).host());
    m_server->setAllowedHosts(hosts);

    auto* client = new UpstreamClient(config.userAgent.toUtf8(), config.upstreamTimeoutMs, this);
    for (const QString& name : config.providers) {
        for (const ProviderKind& kind : providerKinds()) {
            if (kind.name != name)
                continue;
            if (SimilarArtistProvider* provider = kind.make(config, client))
                m_registry->addProvider(provider);
        }
    }
}

CorvaleService::~CorvaleService()
{
    // Providers and their requests go before the cache they write to.
    delete m_server;
    delete m_registry;
}

bool CorvaleService::listen(QString* error)
{
    if (m_server->listen(m_config.address, m_config.port))
        return true;
    *error = QStringLiteral("cannot listen on %1: %2").arg(m_config.listenText(), m_server->errorString());
    return false;
}

quint16 CorvaleService::port() const { return m_server->serverPort(); }

void CorvaleService::handle(const HttpServerRequest& request, const HttpResponder& responder)
{
    const auto decodedPath = percentDecoded(request.path);
    if (!decodedPath) {
        responder.respond(badRequest("the path holds a broken percent escape"));
        return;
    }
    const QByteArray& path = *decodedPath;
    const bool known = path == "/similar" || path == "/picks.plist" || path == "/version.txt" || path.startsWith("/covers/")
        || path == "/e/cm";
    if (!known) {
        responder.respond(HttpServerResponse::text(404, "Not Found\n"));
        return;
    }
    if (request.method != "GET" && request.method != "HEAD") {
        HttpServerResponse response = HttpServerResponse::text(405, "Method Not Allowed\n");
        response.addHeader("Allow", "GET, HEAD");
        responder.respond(response);
        return;
    }
    if (path == "/similar") {
        handleSimilar(request, responder);
    } else if (path == "/picks.plist") {
        responder.respond(PicksFeed::list(baseUrl()));
    } else if (path == "/e/cm") {
        handleBanner(request, responder);
    } else if (path == "/version.txt") {
        responder.respond(HttpServerResponse::text(
            200, QByteArray(CORVALE_SERVICE_VERSION) + '|' + m_config.downloadUrl.toUtf8() + '|'
                     + m_config.releaseNotesUrl.toUtf8()));
    } else {
        responder.respond(PicksFeed::cover(QString::fromUtf8(path.mid(8))));
    }
}

void CorvaleService::handleSimilar(const HttpServerRequest& request, const HttpResponder& responder)
{
    bool malformed = false;
    const auto format = queryValue(request.query, "format", &malformed);
    const auto raw = queryValue(request.query, "artist", &malformed);
    if (malformed) {
        responder.respond(badRequest("the query holds a broken percent escape"));
        return;
    }
    if (format && *format != "tagged") {
        responder.respond(badRequest("only format=tagged is served"));
        return;
    }
    QByteArray whyNot;
    const std::optional<QString> name = artistName(raw, &whyNot);
    if (!name) {
        responder.respond(badRequest(whyNot));
        return;
    }
    const QString& artist = *name;
    auto respond = [responder](const QByteArray& body, const QByteArray& source, int status) {
        HttpServerResponse response;
        response.status = status;
        response.contentType = taggedType;
        response.body = body;
        response.addHeader("X-Corvale-Source", source);
        responder.respond(response);
    };
    if (const auto hot = m_hotAnswers.find(artist)) {
        respond(hot->body, hot->source, 200);
        return;
    }
    // The service (and so this answer) may be gone when a lookup finishes.
    QPointer<CorvaleService> self(this);
    m_registry->lookup(artist, [self, respond, artist](const LookupResult& result) {
        const QByteArray body = taggedAnswer(artist, result.popularity, result.artists);
        respond(body, result.source.isEmpty() ? QByteArray("none") : result.source.toUtf8(),
                result.kind == LookupResult::Kind::Unavailable ? 503 : 200);
        if (self && result.kind == LookupResult::Kind::Found && result.freshUntil.isValid()) {
            const qint64 freshMs = QDateTime::currentDateTimeUtc().msecsTo(result.freshUntil);
            // Served again from memory, it is an answer from a cache.
            if (freshMs > 0)
                self->m_hotAnswers.insert(artist, {body, QByteArrayLiteral("cache")}, QDeadlineTimer(freshMs));
        }
    });
}

void CorvaleService::handleBanner(const HttpServerRequest& request, const HttpResponder& responder)
{
    bool malformed = false;
    const auto mode = queryValue(request.query, "mode", &malformed);
    const auto search = queryValue(request.query, "search", &malformed);
    if (malformed) {
        responder.respond(badRequest("the query holds a broken percent escape"));
        return;
    }
    QByteArray whyNot;
    const std::optional<QString> name = artistName(search, &whyNot);
    if (mode != QByteArray("music") || !name) { // the default page, or no name to show: a welcome
        responder.respond(BannerPage::response(BannerPage::welcome()));
        return;
    }
    const QString& artist = *name;
    const QList<PicksFeed::Pick> picks = BannerPage::picksOf(artist);
    if (!picks.isEmpty()) {
        responder.respond(BannerPage::response(BannerPage::picks(artist, picks)));
        return;
    }
    m_registry->lookup(artist, [responder, artist](const LookupResult& result) {
        responder.respond(BannerPage::response(BannerPage::similar(artist, result.artists)));
    });
}

// Cover links name the service's own address, never the Host a client sent: the picks list
// is read by whoever asks, and a Host header is theirs to choose.
QString CorvaleService::baseUrl() const
{
    if (!m_config.publicUrl.isEmpty())
        return m_config.publicUrl;
    ServiceConfig own = m_config;
    own.port = port();
    // A service listening on every address is reached from this machine over loopback.
    if (own.address == QHostAddress::AnyIPv4 || own.address == QHostAddress::Any)
        own.address = QHostAddress::LocalHost;
    else if (own.address == QHostAddress::AnyIPv6)
        own.address = QHostAddress::LocalHostIPv6;
    return QStringLiteral("http://") + own.listenText();
}
