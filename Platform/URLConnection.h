// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Asynchronous HTTP transfers with delegate callbacks on the main thread, and a synchronous
// whole-document read for worker threads. A thin layer over QNetworkAccessManager.

#include <QByteArray>
#include <QNetworkRequest>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QNetworkReply;
class URLConnection;

// Receives the body of a transfer: zero or more pieces in order, then one completion.
// A transfer that fails (refused, reset, DNS, time-out) never completes.
class URLConnectionDelegate {
public:
    virtual ~URLConnectionDelegate() = default;
    virtual void connectionDidReceiveData(URLConnection& connection, const QByteArray& data) = 0;
    virtual void connectionDidFinishLoading(URLConnection& connection) = 0;
};

// A URL, or an invalid QUrl ("none") when the text is not a valid absolute address:
// a space or a character outside ASCII makes it invalid.
QUrl URLWithString(const QString& text);

// A plain GET request for the URL with the transfer time-out.
QNetworkRequest requestWithURL(const QUrl& url);

// One running or finished transfer. While it runs it holds its delegate alive; when it ends,
// fails or is cancelled it lets go of it, so a delegate that owns its transfer is freed.
class URLConnection : public std::enable_shared_from_this<URLConnection> {
public:
    static constexpr int transferTimeoutMs = 30000;

    // Starts the transfer at once. Callbacks arrive on the main thread, never within this call.
    static std::shared_ptr<URLConnection> initWithRequestDelegate(const QNetworkRequest& request,
                                                                  std::shared_ptr<URLConnectionDelegate> delegate);
    ~URLConnection();

    URLConnection(const URLConnection&) = delete;
    URLConnection& operator=(const URLConnection&) = delete;

    // Stops the transfer; none of its later callbacks arrive.
    void cancel();

    bool isRunning() const;
    QUrl url() const { return m_url; }
    // The HTTP status of the answer, 0 until headers have arrived.
    int statusCode() const { return m_statusCode; }

private:
    URLConnection() = default;
    void start(const QNetworkRequest& request);
    void onReadyRead();
    void onFinished();
    void end();

    QUrl m_url;
    QPointer<QNetworkReply> m_reply;
    std::shared_ptr<URLConnectionDelegate> m_delegate;
    int m_statusCode = 0;
};

// Reads a whole document synchronously; none when it cannot be read (network failure or an
// HTTP error status). For worker threads: it runs its own event loop and manager per thread.
std::optional<QString> stringWithContentsOfURL(const QUrl& url);
