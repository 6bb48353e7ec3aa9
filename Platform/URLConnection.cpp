// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/URLConnection.h"
#include "Platform/LoggingCategories.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>

namespace {

QNetworkAccessManager& mainThreadManager()
{
    static QNetworkAccessManager* manager = [] {
        auto* m = new QNetworkAccessManager(QCoreApplication::instance());
        m->setTransferTimeout(URLConnection::transferTimeoutMs);
        return m;
    }();
    return *manager;
}

// Whether the transfer ended with a whole HTTP answer. HTTP error statuses (404, 500, …) are
// answers; connection, proxy and time-out failures, and a body cut short, are not.
bool isCompleteAnswer(const QNetworkReply& reply)
{
    const QNetworkReply::NetworkError error = reply.error();
    if (error == QNetworkReply::NoError)
        return true;
    const bool httpStatusError = (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    return httpStatusError && reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

} // namespace

QUrl URLWithString(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
            return {};
    }
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return {};
    return url;
}

QNetworkRequest requestWithURL(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(URLConnection::transferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Corvale/%1").arg(QStringLiteral(CORVALE_VERSION)));
    return request;
}

std::shared_ptr<URLConnection> URLConnection::initWithRequestDelegate(const QNetworkRequest& request,
                                                                      std::shared_ptr<URLConnectionDelegate> delegate)
{
    std::shared_ptr<URLConnection> connection(new URLConnection);
    connection->m_delegate = std::move(delegate);
    connection->start(request);
    return connection;
}

URLConnection::~URLConnection()
{
    if (m_reply) {
        m_reply->disconnect();
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void URLConnection::start(const QNetworkRequest& request)
{
    m_url = request.url();
    if (!m_url.isValid()) {
        // Nothing can be fetched: the transfer fails at once, without callbacks.
        m_delegate.reset();
        return;
    }
    m_reply = mainThreadManager().get(request);
    // The reply's signals only reach us while this object lives: a weak reference, so a
    // connection dropped by its owner stops delivering.
    std::weak_ptr<URLConnection> weak = weak_from_this();
    QObject::connect(m_reply, &QNetworkReply::readyRead, m_reply, [weak] {
        if (auto self = weak.lock())
            self->onReadyRead();
    });
    QObject::connect(m_reply, &QNetworkReply::finished, m_reply, [weak] {
        if (auto self = weak.lock())
            self->onFinished();
    });
    // The manager goes away with the application, taking running replies with it and never
    // finishing them: let go of the delegate then, or a delegate owning its transfer leaks.
    QObject::connect(m_reply, &QObject::destroyed, [weak] {
        if (auto self = weak.lock())
            self->m_delegate.reset();
    });
}

bool URLConnection::isRunning() const { return m_reply && m_delegate; }

void URLConnection::cancel()
{
    end();
}

void URLConnection::onReadyRead()
{
    if (!m_reply || !m_delegate)
        return;
    if (!m_statusCode)
        m_statusCode = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray piece = m_reply->readAll();
    if (piece.isEmpty())
        return;
    // Keep ourselves and the delegate alive through the callback, which may drop us.
    auto self = shared_from_this();
    auto delegate = m_delegate;
    delegate->connectionDidReceiveData(*this, piece);
}

void URLConnection::onFinished()
{
    if (!m_reply || !m_delegate)
        return;
    auto self = shared_from_this();
    m_statusCode = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!isCompleteAnswer(*m_reply)) {
        qCInfo(lcNetwork).noquote() << m_url.toDisplayString() << "failed:" << m_reply->errorString();
        end();
        return;
    }
    if (m_reply->bytesAvailable() > 0) {
        onReadyRead();
        if (!m_delegate)
            return; // cancelled from within the last piece
    }
    auto delegate = m_delegate;
    end();
    delegate->connectionDidFinishLoading(*this);
}

void URLConnection::end()
{
    if (m_reply) {
        m_reply->disconnect();
        if (m_reply->isRunning())
            m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    m_delegate.reset();
}

std::optional<QString> stringWithContentsOfURL(const QUrl& url)
{
    if (!url.isValid())
        return std::nullopt;
    // One manager per thread, made on the thread's first read and freed when the thread ends.
    thread_local std::unique_ptr<QNetworkAccessManager> manager;
    if (!manager) {
        manager = std::make_unique<QNetworkAccessManager>();
        manager->setTransferTimeout(URLConnection::transferTimeoutMs);
    }
    QEventLoop loop;
    std::unique_ptr<QNetworkReply> reply(manager->get(requestWithURL(url)));
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    if (reply->error() != QNetworkReply::NoError)
        return std::nullopt;
    return QString::fromUtf8(reply->readAll());
}
