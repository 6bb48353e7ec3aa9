// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/URLConnection.h"

#include "support/LocalHttpServer.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QThread>

#include <thread>

namespace {

struct RecordingDelegate : URLConnectionDelegate {
    QList<QByteArray> pieces;
    int finished = 0;
    bool offMainThread = false;
    std::function<void(URLConnection&)> onPiece;

    void connectionDidReceiveData(URLConnection& connection, const QByteArray& data) override
    {
        offMainThread |= QThread::currentThread() != qApp->thread();
        pieces.append(data);
        if (onPiece)
            onPiece(connection);
    }
    void connectionDidFinishLoading(URLConnection&) override
    {
        offMainThread |= QThread::currentThread() != qApp->thread();
        ++finished;
    }
    QByteArray body() const { return pieces.join(); }
};

std::shared_ptr<URLConnection> fetch(const QString& url, const std::shared_ptr<RecordingDelegate>& delegate)
{
    return URLConnection::initWithRequestDelegate(requestWithURL(URLWithString(url)), delegate);
}

} // namespace

TEST(URLConnection, DeliversPiecesInOrderThenCompletesOnceOnTheMainThread)
{
    LocalHttpServer server;
    HttpReply reply;
    reply.pieces = {"first-", "second-", "third"};
    reply.pieceDelayMs = 150;
    server.route("/body", reply);

    auto delegate = std::make_shared<RecordingDelegate>();
    auto connection = fetch(server.baseUrl() + "/body", delegate);
    EXPECT_TRUE(delegate->pieces.isEmpty()) << "no callback may arrive within the start call";
    ASSERT_TRUE(waitUntil([&] { return delegate->finished > 0; }));
    spinEventLoop(100);

    EXPECT_EQ(delegate->pieces, (QList<QByteArray>{"first-", "second-", "third"}));
    EXPECT_EQ(delegate->finished, 1);
    EXPECT_FALSE(delegate->offMainThread);
    EXPECT_EQ(connection->statusCode(), 200);
    EXPECT_FALSE(connection->isRunning());
}

TEST(URLConnection, DeliversAnHttpErrorPageAsACompletedTransfer)
{
    LocalHttpServer server; // answers every path with a 404 page
    auto delegate = std::make_shared<RecordingDelegate>();
    auto connection = fetch(server.baseUrl() + "/missing", delegate);
    ASSERT_TRUE(waitUntil([&] { return delegate->finished > 0; }));
    EXPECT_EQ(connection->statusCode(), 404);
    EXPECT_TRUE(delegate->body().contains("Not Found"));

    server.route("/broken", HttpReply::body("server trouble", 500));
    auto delegate500 = std::make_shared<RecordingDelegate>();
    auto connection500 = fetch(server.baseUrl() + "/broken", delegate500);
    ASSERT_TRUE(waitUntil([&] { return delegate500->finished > 0; }));
    EXPECT_EQ(delegate500->body(), "server trouble");
}

TEST(URLConnection, NetworkFailuresNeverComplete)
{
    // A refused connection: a port that was free a moment ago.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    auto refused = std::make_shared<RecordingDelegate>();
    std::weak_ptr<RecordingDelegate> refusedWeak = refused;
    auto refusedConnection = fetch(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort), refused);

    // A server that announces more than it sends and drops the connection mid-body.
    LocalHttpServer server;
    HttpReply cut;
    cut.pieces = {"<r>partial"};
    cut.closeBeforeEnd = true;
    server.route("/cut", cut);
    auto truncated = std::make_shared<RecordingDelegate>();
    auto truncatedConnection = fetch(server.baseUrl() + "/cut", truncated);

    ASSERT_TRUE(waitUntil([&] { return !refusedConnection->isRunning() && !truncatedConnection->isRunning(); }));
    spinEventLoop(100);
    EXPECT_EQ(refused->finished, 0);
    EXPECT_EQ(truncated->finished, 0);
    EXPECT_EQ(truncated->body(), "<r>partial") << "the pieces before the failure still arrived";

    // A failed transfer lets go of its delegate.
    refused.reset();
    EXPECT_TRUE(refusedWeak.expired());
}

TEST(URLConnection, CancelStopsEveryLaterCallback)
{
    LocalHttpServer server;
    HttpReply reply;
    reply.pieces = {"one", "two", "three"};
    reply.pieceDelayMs = 150;
    server.route("/slow", reply);

    auto delegate = std::make_shared<RecordingDelegate>();
    delegate->onPiece = [](URLConnection& connection) { connection.cancel(); };
    auto connection = fetch(server.baseUrl() + "/slow", delegate);
    ASSERT_TRUE(waitUntil([&] { return !delegate->pieces.isEmpty(); }));
    spinEventLoop(600);
    EXPECT_EQ(delegate->pieces, QList<QByteArray>{"one"});
    EXPECT_EQ(delegate->finished, 0);
    EXPECT_FALSE(connection->isRunning());
}

TEST(URLConnection, HoldsItsDelegateAliveUntilItEnds)
{
    LocalHttpServer server;
    server.route("/ok", HttpReply::body("fine"));
    auto delegate = std::make_shared<RecordingDelegate>();
    std::weak_ptr<RecordingDelegate> weak = delegate;
    RecordingDelegate* raw = delegate.get();
    auto connection = fetch(server.baseUrl() + "/ok", delegate);
    delegate.reset(); // only the running transfer holds it now
    ASSERT_FALSE(weak.expired());
    ASSERT_TRUE(waitUntil([&] { return !connection->isRunning(); }));
    EXPECT_TRUE(weak.expired()) << "released after completion";
    (void)raw;

    // Dropping a running transfer delivers nothing more, and frees it.
    HttpReply slow;
    slow.pieces = {"a", "b"};
    slow.pieceDelayMs = 200;
    server.route("/slow", slow);
    auto second = std::make_shared<RecordingDelegate>();
    auto dropped = fetch(server.baseUrl() + "/slow", second);
    dropped.reset();
    spinEventLoop(500);
    EXPECT_TRUE(second->pieces.isEmpty());
    EXPECT_EQ(second->finished, 0);
}

TEST(URLConnection, URLWithStringRejectsTextThatIsNotAnAddress)
{
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"http://127.0.0.1:8642/similar?artist=Pink%20Floyd&format=tagged", true},
        {"itms://ax.phobos.example/search?term=Pink%20Floyd&type=artistName", true},
        {"http://127.0.0.1/similar?artist=Pink Floyd", false},
        {"", false},
        {"not an address", false},
        {"no-scheme/path", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(URLWithString(QString::fromUtf8(c.text)).isValid(), c.valid) << c.text;
    EXPECT_FALSE(URLWithString(QStringLiteral("http://example.org/Bj\u00f6rk")).isValid());
}

TEST(URLConnection, SynchronousReadWorksOnAWorkerThreadWithoutTheMainEventLoop)
{
    // The server runs on its own thread; the main thread blocks in join(), so its event loop
    // does not turn while the worker reads.
    QThread serverThread;
    auto* server = new LocalHttpServer;
    server->route("/version.txt", HttpReply::body("1.2|http://x/d|http://x/n"));
    const QString base = server->baseUrl();
    server->moveToThread(&serverThread);
    serverThread.start();

    std::optional<QString> found, missing;
    std::thread worker([&] {
        found = stringWithContentsOfURL(QUrl(base + "/version.txt"));
        missing = stringWithContentsOfURL(QUrl(base + "/nothing-here"));
    });
    worker.join();
    QMetaObject::invokeMethod(server, [server] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();

    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, "1.2|http://x/d|http://x/n");
    EXPECT_FALSE(missing.has_value()) << "an error status is not a document";
}
