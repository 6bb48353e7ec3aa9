#include "Service/CorvaleService.h"

#include "Service/AnswerCache.h"
#include "Service/CatalogProvider.h"
#include "Service/HttpServer.h"
#include "Service/LastFmProvider.h"
#include "Service/ListenBrainzProvider.h"
#include "Service/ProviderRegistry.h"
#include "Service/UpstreamClient.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtDebug>

#include <cmath>

namespace {

const QByteArray taggedType = "text/xml; charset=utf-8";

QByteArray number(double value)
{
    const double rounded = std::round(value * 10.0) / 10.0;
    return rounded == std::floor(rounded) ? QByteArray::number(qint64(rounded)) : QByteArray::number(rounded, 'f', 1);
}

QByteArray record(const QString& name, double rating, double popularity)
{
    return "<r><a>" + name.toUtf8() + "</a><c>" + number(rating) + "</c><p>" + number(popularity) + "</p></r>\n";
}

QByteArray xmlEscaped(const QString& text) { return text.toHtmlEscaped().toUtf8(); }

// The value of the first `key=` item of a raw query, percent- and "+"-decoded; none if absent.
std::optional<QByteArray> queryValue(const QByteArray& query, const QByteArray& key)
{
    for (const QByteArray& item : query.split('&')) {
        const qsizetype equals = item.indexOf('=');
        QByteArray name = equals < 0 ? item : item.left(equals);
        name.replace('+', ' ');
        if (QByteArray::fromPercentEncoding(name) != key)
            continue;
        QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        value.replace('+', ' ');
        return QByteArray::fromPercentEncoding(value);
    }
    return std::nullopt;
}

HttpServerResponse badRequest(const QByteArray& why) { return HttpServerResponse::text(400, why + '\n'); }

struct Pick {
    QString artist, album, description, cover;
};

QList<Pick> loadPicks()
{
    QFile file(QStringLiteral(":/corvale-service/picks.json"));
    file.open(QIODevice::ReadOnly);
    QList<Pick> picks;
    for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject pick = value.toObject();
        picks.append({pick.value(QStringLiteral("artist")).toString(), pick.value(QStringLiteral("album")).toString(),
                      pick.value(QStringLiteral("description")).toString(), pick.value(QStringLiteral("cover")).toString()});
    }
    return picks;
}

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
    auto* client = new UpstreamClient(config.userAgent.toUtf8(), config.upstreamTimeoutMs, this);
    for (const QString& name : config.providers) {
        if (name == QLatin1String("catalog")) {
            m_registry->addProvider(new CatalogProvider);
        } else if (name == QLatin1String("listenbrainz")) {
            ListenBrainzProvider::Settings settings;
            settings.musicBrainzUrl = config.musicBrainzUrl;
            settings.listenBrainzUrl = config.listenBrainzUrl;
            settings.algorithm = config.listenBrainzAlgorithm;
            settings.minimumScore = config.musicBrainzMinimumScore;
            settings.musicBrainzIntervalMs = config.musicBrainzIntervalMs;
            m_registry->addProvider(new ListenBrainzProvider(settings, client));
        } else if (name == QLatin1String("lastfm")) {
            if (config.lastFmApiKey.isEmpty())
                qInfo().noquote() << "corvale-service: no Last.fm API key, Last.fm is not asked";
            else
                m_registry->addProvider(new LastFmProvider(config.lastFmUrl, config.lastFmApiKey, client));
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

QByteArray CorvaleService::taggedAnswer(const QString& artist, const LookupResult& result)
{
    QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<similarartists>\n";
    body += record(artist, 100, result.popularity);
    for (const SimilarArtist& similar : result.artists) {
        if (ProviderRegistry::isSendableName(similar.name))
            body += record(similar.name, similar.rating, similar.popularity);
    }
    body += "</similarartists>\n";
    return body;
}

void CorvaleService::handle(const HttpServerRequest& request, const HttpResponder& responder)
{
    const QByteArray path = QByteArray::fromPercentEncoding(request.path);
    const bool known = path == "/similar" || path == "/picks.plist" || path == "/version.txt" || path.startsWith("/covers/");
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
        responder.respond(picks(request));
    } else if (path == "/version.txt") {
        responder.respond(HttpServerResponse::text(
            200, QByteArray(CORVALE_SERVICE_VERSION) + '|' + m_config.downloadUrl.toUtf8() + '|'
                     + m_config.releaseNotesUrl.toUtf8()));
    } else {
        static const QRegularExpression coverName(QStringLiteral("^[A-Za-z0-9_-]+\\.(png|jpe?g)$"));
        const QString file = QString::fromUtf8(path.mid(8));
        QFile cover(QStringLiteral(":/corvale-service/covers/") + file);
        if (!coverName.match(file).hasMatch() || !cover.open(QIODevice::ReadOnly)) {
            responder.respond(HttpServerResponse::text(404, "Not Found\n"));
            return;
        }
        HttpServerResponse response;
        response.contentType = file.endsWith(QLatin1String(".png")) ? "image/png" : "image/jpeg";
        response.body = cover.readAll();
        response.addHeader("Cache-Control", "max-age=86400");
        responder.respond(response);
    }
}

void CorvaleService::handleSimilar(const HttpServerRequest& request, const HttpResponder& responder)
{
    const auto format = queryValue(request.query, "format");
    if (format && *format != "tagged") {
        responder.respond(badRequest("only format=tagged is served"));
        return;
    }
    const auto raw = queryValue(request.query, "artist");
    if (!raw) {
        responder.respond(badRequest("artist is missing"));
        return;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(*raw);
    if (decoder.hasError()) {
        responder.respond(badRequest("artist is not UTF-8"));
        return;
    }
    const QString artist = decoded.simplified();
    if (artist.isEmpty() || artist.size() > maxArtistLength) {
        responder.respond(badRequest("artist is empty or too long"));
        return;
    }
    // The answer format cannot carry "<" or control characters in a name.
    if (!ProviderRegistry::isSendableName(artist)) {
        responder.respond(badRequest("artist holds characters a name cannot have"));
        return;
    }
    m_registry->lookup(artist, [responder, artist](const LookupResult& result) {
        HttpServerResponse response;
        response.status = result.kind == LookupResult::Kind::Unavailable ? 503 : 200;
        response.contentType = taggedType;
        response.body = taggedAnswer(artist, result);
        response.addHeader("X-Corvale-Source", result.source.isEmpty() ? QByteArray("none") : result.source.toUtf8());
        responder.respond(response);
    });
}

QString CorvaleService::baseUrl(const HttpServerRequest& request) const
{
    if (!m_config.publicUrl.isEmpty())
        return m_config.publicUrl;
    // The address the client used, when it is a plain host[:port]; else our own.
    static const QRegularExpression plainHost(QStringLiteral("^([A-Za-z0-9.-]+|\\[[0-9A-Fa-f:.]+\\])(:[0-9]{1,5})?$"));
    const QString host = QString::fromLatin1(request.host);
    if (plainHost.match(host).hasMatch())
        return QStringLiteral("http://") + host;
    ServiceConfig own = m_config;
    own.port = port();
    return QStringLiteral("http://") + own.listenText();
}

HttpServerResponse CorvaleService::picks(const HttpServerRequest& request) const
{
    static const QList<Pick> list = loadPicks();
    const QString base = baseUrl(request);
    QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                      "<plist version=\"1.0\">\n<dict>\n\t<key>Artists</key>\n\t<array>\n";
    for (const Pick& pick : list) {
        body += "\t\t<dict>\n";
        body += "\t\t\t<key>Artist</key>\n\t\t\t<string>" + xmlEscaped(pick.artist) + "</string>\n";
        body += "\t\t\t<key>Album</key>\n\t\t\t<string>" + xmlEscaped(pick.album) + "</string>\n";
        body += "\t\t\t<key>Description</key>\n\t\t\t<string>" + xmlEscaped(pick.description) + "</string>\n";
        body += "\t\t\t<key>Image</key>\n\t\t\t<string>" + xmlEscaped(base + QStringLiteral("/covers/") + pick.cover)
            + "</string>\n";
        body += "\t\t</dict>\n";
    }
    body += "\t</array>\n</dict>\n</plist>\n";
    HttpServerResponse response;
    response.contentType = "application/x-plist; charset=utf-8";
    response.body = body;
    return response;
}
