// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/UpstreamClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

UpstreamClient::UpstreamClient(const QByteArray& userAgent, int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_userAgent(userAgent)
    , m_timeoutMs(timeoutMs)
{
}

void UpstreamClient::get(const QUrl& url, std::function<void(const UpstreamReply&)> done)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
    request.setRawHeader("Accept", "application/json");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    QNetworkReply* reply = m_manager->get(request);
    // Why the reply was cut short by us, if it was.
    auto refused = std::make_shared<QString>();
    auto cut = [reply, refused](const QString& why) {
        if (refused->isEmpty())
            *refused = why;
        reply->abort();
    };
    // A total deadline: the transfer time-out of the network layer restarts with every byte.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [cut] { cut(QStringLiteral("timed out")); });
    deadline->start(m_timeoutMs);
    connect(reply, &QNetworkReply::downloadProgress, reply, [cut](qint64 received, qint64 total) {
        if (received > maxBodyBytes || total > maxBodyBytes)
            cut(QStringLiteral("answer larger than %1 bytes").arg(maxBodyBytes));
    });
    connect(reply, &QNetworkReply::redirected, reply, [reply, url, cut](const QUrl& target) {
        if (target.scheme() == QLatin1String("https") && target.host().compare(url.host(), Qt::CaseInsensitive) == 0)
            Q_EMIT reply->redirectAllowed();
        else
            cut(QStringLiteral("redirect to %1 refused").arg(target.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo)));
    });
    connect(reply, &QNetworkReply::finished, this, [reply, refused, done = std::move(done)] {
        reply->deleteLater();
        UpstreamReply result;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!refused->isEmpty()) {
            result.error = *refused;
        } else if (status.isValid() && (reply->error() == QNetworkReply::NoError
                                        || reply->error() >= QNetworkReply::ContentAccessDenied)) {
            // An HTTP status with its whole body (error statuses included); a transfer cut
            // short by the network is no answer at all.
            result.ok = true;
            result.status = status.toInt();
            result.body = reply->readAll();
            result.retryAfterSeconds = reply->rawHeader("Retry-After").toInt();
        } else {
            result.error = reply->errorString();
        }
        done(result);
    });
}

QUrl upstreamUrl(const QUrl& base, const QString& path)
{
    QUrl url = base;
    QString basePath = url.path();
    if (basePath.endsWith(QLatin1Char('/')))
        basePath.chop(1);
    url.setPath(basePath + path);
    return url;
}

QString encodedQuery(const QList<QPair<QString, QString>>& items)
{
    QByteArray query;
    for (const auto& [key, value] : items) {
        if (!query.isEmpty())
            query += '&';
        query += QUrl::toPercentEncoding(key) + '=' + QUrl::toPercentEncoding(value);
    }
    return QString::fromLatin1(query);
}
