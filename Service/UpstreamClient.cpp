#include "Service/UpstreamClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

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
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_manager->get(request);
    auto tooLarge = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, tooLarge](qint64 received, qint64 total) {
        if (received > maxBodyBytes || total > maxBodyBytes) {
            *tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, tooLarge, done = std::move(done)] {
        reply->deleteLater();
        UpstreamReply result;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (*tooLarge) {
            result.error = QStringLiteral("answer larger than %1 bytes").arg(maxBodyBytes);
        } else if (status.isValid() && (reply->error() == QNetworkReply::NoError
                                        || reply->error() >= QNetworkReply::ContentAccessDenied)) {
            // An HTTP status with its whole body (error statuses included); a transfer cut
            // short by the network is no answer at all.
            result.ok = true;
            result.status = status.toInt();
            result.body = reply->readAll();
            result.retryAfterSeconds = reply->rawHeader("Retry-After").toInt();
        } else {
            result.error = reply->error() == QNetworkReply::OperationCanceledError ? QStringLiteral("timed out")
                                                                                   : reply->errorString();
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
