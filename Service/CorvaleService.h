// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Service/HotAnswers.h"
#include "Service/ServiceConfig.h"

#include <QObject>

#include <memory>

class AnswerCache;
class HttpResponder;
class HttpServer;
class ProviderRegistry;
struct HttpServerRequest;

// The HTTP endpoints of corvale-service:
//   GET /similar?artist=NAME&format=tagged   similar artists in the tagged format
//   GET /picks.plist                          the curated picks, an XML property list
//   GET /covers/FILE                          the pictures the picks name
//   GET /version.txt                          "VERSION|DOWNLOAD|DESCRIPTION"
//   GET /e/cm?search=NAME&mode=music          the app's banner frame (see BannerPage)
class CorvaleService : public QObject {
    Q_OBJECT
public:
    static constexpr int maxArtistLength = 256;

    explicit CorvaleService(const ServiceConfig& config, QObject* parent = nullptr);
    ~CorvaleService() override;

    bool listen(QString* error);
    quint16 port() const; // the port actually listened on
    ProviderRegistry* registry() const { return m_registry; }

    HttpServer* httpServer() const { return m_server; }
    const HotAnswers& hotAnswers() const { return m_hotAnswers; }

private:
    void handle(const HttpServerRequest& request, const HttpResponder& responder);
    void handleSimilar(const HttpServerRequest& request, const HttpResponder& responder);
    void handleBanner(const HttpServerRequest& request, const HttpResponder& responder);
    QString baseUrl() const;

    ServiceConfig m_config;
    std::unique_ptr<AnswerCache> m_cache;
    HotAnswers m_hotAnswers; // in front of the cache file, for the artists asked for most
    ProviderRegistry* m_registry;
    HttpServer* m_server;
};
