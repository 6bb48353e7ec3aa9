// SPDX-License-Identifier: GPL-3.0-or-later
// The service against clients that misbehave on purpose, over real sockets: pipelining
// without reading, sending during a slow answer, trickling, half-closing. Every loop here is
// bounded in bytes and time and stops by itself.
#include "ServiceTestSupport.h"

#include "Service/HttpServer.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

// Room for one request being read and one answer being written, on top of the unsent bound.
constexpr qsizetype allowedBuffer = HttpServer::maxUnsentBytes + HttpServer::maxHeadBytes + HttpServer::maxBodyBytes + 64 * 1024;

struct Flood {
    qint64 sent = 0;
    qsizetype mostBuffered = 0;
};

// Sends `unit` over and over until `limit` bytes are out, the service has taken nothing for
// a while (its reading stopped and the kernel buffers are full) or the time is up; meanwhile
// records the most the service held in its buffers.
Flood flood(RawClient& client, HttpServer& server, const QByteArray& unit, qint64 limit, int timeoutMs = 5000)
{
    Flood result;
    QByteArray pending;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    const QDeadlineTimer deadline(timeoutMs);
    while (result.sent < limit && !deadline.hasExpired() && sinceProgress.elapsed() < 400) {
        if (pending.isEmpty())
            pending = unit.repeated(qMax<qsizetype>(1, 16 * 1024 / unit.size()));
        const qsizetype taken = client.send(pending);
        if (taken > 0) {
            pending.remove(0, taken);
            result.sent += taken;
            sinceProgress.restart();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        result.mostBuffered = qMax(result.mostBuffered, server.bufferedBytes());
    }
    return result;
}

class ServiceLimits : public ::testing::Test {
protected:
    ServiceFixture fixture;
    HttpServer& server() { return *fixture.service->httpServer(); }
};

} // namespace

TEST_F(ServiceLimits, APipeliningClientThatNeverReadsHoldsAtMostAMegabyteOfAnswers)
{
    fixture.start(QStringLiteral("catalog"));
    const QByteArray request = "GET /picks.plist HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    RawClient client(fixture.service->port(), 4096);
    // 512 KiB of requests ask for some 25 MB of answers.
    const Flood result = flood(client, server(), request, 512 * 1024);
    EXPECT_LE(result.mostBuffered, allowedBuffer);
    const qint64 requests = result.sent / request.size();
    ASSERT_GT(requests, 1000);

    // Once the client reads, every request it sent whole is answered, in order.
    qint64 answered = 0;
    QByteArray tail;
    waitUntil([&] {
        tail += client.receive();
        // Count status lines, keeping a possible partial one for the next round.
        qsizetype at = 0;
        while ((at = tail.indexOf("HTTP/1.1 200 OK\r\n", at)) >= 0) {
            ++answered;
            at += 17;
        }
        tail = tail.right(16);
        return answered >= requests;
    }, 20000);
    EXPECT_EQ(answered, requests);
}

TEST_F(ServiceLimits, WhileARequestWaitsForItsUpstreamTheClientCannotFillTheService)
{
    fixture.upstream.setHandler([](const HttpRequest&) {
        HttpReply reply;
        reply.neverAnswer = true;
        return reply;
    });
    fixture.config.upstreamTimeoutMs = 10000;
    fixture.start(QStringLiteral("listenbrainz"));
    RawClient client(fixture.service->port());
    const QByteArray request = "GET /similar?artist=Portishead HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ASSERT_EQ(client.send(request), request.size());
    ASSERT_TRUE(waitUntil([&] { return fixture.upstream.requestCount() == 1; }));
    const Flood result = flood(client, server(), QByteArray(4096, 'x'), 64 * 1024 * 1024);
    EXPECT_LE(result.mostBuffered, allowedBuffer) << "sent " << result.sent << " bytes";
    EXPECT_GT(result.sent, 0);
}

TEST_F(ServiceLimits, ATricklingClientGetsTheRequestDeadlineAndNoMore)
{
    fixture.config.requestTimeoutMs = 600;
    fixture.start(QStringLiteral("catalog"));
    const QByteArray head = "GET /version.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + QByteArray(100, 'a');
    RawClient trickler(fixture.service->port());
    RawClient silent(fixture.service->port());
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    for (qsizetype i = 0; i < head.size() && !trickler.closed() && clock.elapsed() < 4000; ++i) {
        trickler.send(head.mid(i, 1)); // one byte every 100 ms: each would restart an idle timer
        waitUntil([&] {
            answer += trickler.receive();
            return trickler.closed();
        }, 100);
    }
    EXPECT_TRUE(trickler.closed()) << "still connected after " << clock.elapsed() << " ms";
    EXPECT_GE(clock.elapsed(), 500);
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 408 ")) << answer.constData();
    EXPECT_TRUE(silent.receiveUntilClosed(1000).startsWith("HTTP/1.1 408 ")) << "a connection that sends nothing, too";
}

TEST_F(ServiceLimits, AClientThatShutsDownItsSendingSideStillGetsItsAnswers)
{
    fixture.upstream.setHandler([](const HttpRequest& request) {
        if (request.path.startsWith(QLatin1String("/ws/")))
            return HttpReply::body(Upstream::musicBrainzPortishead, 200, "application/json");
        return HttpReply::body(Upstream::listenBrainzPortishead, 200, "application/json");
    });
    fixture.start(QStringLiteral("listenbrainz"));
    const struct {
        const char* label;
        QByteArray requests;
        QList<QByteArray> expected;
    } cases[] = {
        {"answered at once", "GET /version.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", {CORVALE_SERVICE_VERSION "|"}},
        {"answered after an upstream lookup", "GET /similar?artist=Portishead HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n",
         {"<a>Massive Attack</a>"}},
        {"two pipelined", "GET /version.txt HTTP/1.1\r\n\r\nGET /similar?artist=Portishead HTTP/1.1\r\n\r\n",
         {CORVALE_SERVICE_VERSION "|", "<a>Tricky</a>"}},
    };
    for (const auto& c : cases) {
        RawClient client(fixture.service->port());
        ASSERT_EQ(client.send(c.requests), c.requests.size());
        client.shutdownWrite();
        const QByteArray answer = client.receiveUntilClosed(5000);
        EXPECT_TRUE(client.closed()) << c.label;
        EXPECT_EQ(answer.count("HTTP/1.1 200 OK"), c.expected.size()) << c.label << "\n" << answer.constData();
        for (const QByteArray& part : c.expected)
            EXPECT_TRUE(answer.contains(part)) << c.label << ": " << part.constData();
    }
}

TEST(HttpServerDecoding, PercentEscapesMustBeWhole)
{
    EXPECT_EQ(percentDecoded("Bj%C3%B6rk%20%2b+x"), QByteArray("Bj\xc3\xb6rk ++x")) << "\"+\" is the caller's to read";
    EXPECT_EQ(percentDecoded("%41%4a%4A"), QByteArray("AJJ"));
    EXPECT_EQ(percentDecoded(""), QByteArray(""));
    for (const char* broken : {"%G1", "%1G", "%", "abc%", "abc%4", "%%41", "%-1", "% 1"})
        EXPECT_FALSE(percentDecoded(broken)) << broken;
}
