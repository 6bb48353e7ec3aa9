// SPDX-License-Identifier: GPL-3.0-or-later
// The kit's window pieces on real widgets: the version checker against a real feed with its
// panels answered as a user answers them, the split view's limits, the metal box's frame and
// the application object's guard around every event.
#include "Platform/UserDefaults.h"
#include "RKKit/RKApplication.h"
#include "RKKit/RKMetalBox.h"
#include "RKKit/RKSplitView.h"
#include "RKKit/RKVersionChecker.h"

#include "support/LocalHttpServer.h"
#include "support/OpenedLinks.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <stdexcept>

namespace {

// ---- Version checker -------------------------------------------------------------------------

TEST(RKVersionChecker, VersionsCompareNumberByNumber)
{
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"1.2", "1.1", 1},  {"1.10", "1.9", 1},  {"1.2.3", "1.2", 1}, {"1.2", "1.2.0", 0},
        {"1.3", "1.3", 0},  {"0.9", "1.0", -1},  {"abc", "0", 0},     {"", "0.0", 0},
        {" 2.0 beta", "1.9", 1}, {"1.3\n", "1.3", 0}, {"99999999999999999999", "1", 1},
    };
    for (const auto& c : cases) {
        const int order = RKVersionChecker::compareVersions(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    }
}

TEST(RKVersionChecker, FeedsNeedThreeFieldsTakenAsTheyStand)
{
    const auto feed = RKVersionChecker::parseFeed("1.3|http://x/get| http://x/about\n|extra");
    ASSERT_TRUE(feed.has_value());
    EXPECT_EQ(feed->remoteVersion, "1.3");
    EXPECT_EQ(feed->downloadURL, "http://x/get");
    EXPECT_EQ(feed->descriptionURL, " http://x/about\n");
    EXPECT_FALSE(RKVersionChecker::parseFeed("1.3|http://x/get").has_value());
    EXPECT_FALSE(RKVersionChecker::parseFeed("").has_value());

    using D = RKVersionChecker::Decision;
    const struct {
        const char* remote;
        const char* ignored;
        bool asked;
        D decision;
    } cases[] = {
        {"1.3", "", false, D::UpdatePanel},   {"1.3", "1.3", false, D::Nothing},   {"1.3", "1.3", true, D::UpdatePanel},
        {"1.4", "1.3", false, D::UpdatePanel}, {"1.2", "", false, D::Nothing},     {"1.2", "", true, D::NoUpdatePanel},
        {"1.1", "", true, D::NoUpdatePanel},   {"none", "", true, D::NoUpdatePanel}, {"1.10", "", false, D::UpdatePanel},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RKVersionChecker::decide({c.remote, "a", "b"}, "1.2", c.ignored, c.asked), c.decision)
            << c.remote << " ignored " << c.ignored << " asked " << c.asked;
    }
}

// Presses the button with the given text on the next message box that opens; records its texts.
struct PanelAnswer : QObject {
    QString button;
    QString text, informative;
    QStringList buttons;
    int shown = 0;
    explicit PanelAnswer(QString press)
        : button(std::move(press))
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            ++shown;
            text = box->text();
            informative = box->informativeText();
            buttons.clear();
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                buttons << b->text();
                if (b->text() == button)
                    chosen = b;
            }
            if (chosen)
                chosen->click();
        });
        timer->start(20);
    }
};

struct VersionFeed : ::testing::Test {
    LocalHttpServer server;
    RKVersionChecker& checker = RKVersionChecker::sharedChecker();
    QString feed = "1.3|http://example.org/corvale-1.3.deb|http://example.org/news";
    VersionFeed()
    {
        QCoreApplication::setApplicationVersion("1.2");
        UserDefaults::standardUserDefaults().setObjectForKey(QVariant(), "RKVersionChecker");
        server.setHandler([this](const HttpRequest&) { return HttpReply::body(feed.toUtf8()); });
        checker.setVersionURL(server.baseUrl() + "/version.txt");
    }
    ~VersionFeed() override
    {
        checker.setVersionURL(QString());
        UserDefaults::standardUserDefaults().setObjectForKey(QVariant(), "RKVersionChecker");
    }
    // Runs one check to its end; answers the panel, if one opens, with the button given.
    RKVersionChecker::Decision check(bool asked, const QString& press, PanelAnswer** answered = nullptr)
    {
        auto* answer = new PanelAnswer(press);
        QSignalSpy finished(&checker, &RKVersionChecker::checkFinished);
        checker.checkVersionUserInitiated(asked);
        EXPECT_TRUE(finished.wait(10000));
        const auto decision = finished.isEmpty() ? RKVersionChecker::Decision::Nothing
                                                 : finished.first().first().value<RKVersionChecker::Decision>();
        if (answered)
            *answered = answer;
        else
            delete answer;
        return decision;
    }
    QString ignored() { return UserDefaults::standardUserDefaults().objectForKey("RKVersionChecker").toString(); }
};

TEST_F(VersionFeed, IgnoreSilencesAutomaticChecksUntilANewerVersion)
{
    using D = RKVersionChecker::Decision;
    PanelAnswer* panel = nullptr;
    EXPECT_EQ(check(false, "Ignore", &panel), D::UpdatePanel);
    EXPECT_EQ(panel->shown, 1);
    EXPECT_EQ(panel->text, "Version 1.3 is available to download.");
    EXPECT_EQ(panel->informative, "You are using version 1.2 of corvale. A newer release, version 1.3, is available.  It is highly recommended that you download the new version.");
    panel->buttons.sort(); // their order on screen is the desktop's
    EXPECT_EQ(panel->buttons, QStringList({"Download...", "Ignore", "Remind Later"}));
    delete panel;
    EXPECT_EQ(ignored(), "1.3");

    EXPECT_EQ(check(false, "Ignore"), D::Nothing) << "the same version stays quiet";
    EXPECT_EQ(check(true, "Remind Later"), D::UpdatePanel) << "asked, it is offered again";
    EXPECT_EQ(ignored(), "") << "Remind Later forgets the ignored version";

    check(false, "Ignore");
    feed = "1.4|a|b";
    EXPECT_EQ(check(false, "Remind Later"), D::UpdatePanel) << "a newer version than the ignored one";
}

TEST_F(VersionFeed, NoUpdatePanelOnlyWhenAskedAndNothingOnABrokenFeed)
{
    using D = RKVersionChecker::Decision;
    feed = "1.2|a|b";
    EXPECT_EQ(check(false, "OK"), D::Nothing);
    PanelAnswer* panel = nullptr;
    EXPECT_EQ(check(true, "OK", &panel), D::NoUpdatePanel);
    EXPECT_EQ(panel->text, "This is the most recent version.");
    EXPECT_EQ(panel->informative, "Excellent! You are using the most recent release of corvale, version 1.2. There is currently no need to upgrade.");
    delete panel;

    // Two fields, or no server: one log line, no panel, even when asked.
    QStringList log;
    static QStringList* lines = &log;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { lines->append(m); });
    feed = "1.9|a";
    PanelAnswer* none = nullptr;
    EXPECT_EQ(check(true, "OK", &none), D::Nothing);
    checker.setVersionURL("http://127.0.0.1:1/version.txt");
    check(true, "OK");
    qInstallMessageHandler(previous);
    EXPECT_EQ(none->shown, 0);
    delete none;
    EXPECT_EQ(log.count("RKVersionChecker: Connection error."), 2) << log.join('\n').toStdString();
}

TEST_F(VersionFeed, DownloadOpensTheFeedsAddressAndOverlappingChecksNeverMixFeeds)
{
    OpenedLinks links;
    check(false, "Download...");
    ASSERT_EQ(links.opened.size(), 1);
    EXPECT_EQ(links.opened.first().toString(), "http://example.org/corvale-1.3.deb");
    EXPECT_EQ(ignored(), "");

    // Two checks at once, the feed changing between them: each panel shows one whole feed.
    int served = 0;
    server.setHandler([&served](const HttpRequest&) {
        return HttpReply::body(++served == 1 ? "1.5|http://example.org/1.5|x" : "1.6|http://example.org/1.6|y");
    });
    links.opened.clear();
    QSignalSpy finished(&checker, &RKVersionChecker::checkFinished);
    PanelAnswer answer("Download...");
    checker.checkVersionUserInitiated(true);
    checker.checkVersionUserInitiated(true);
    ASSERT_TRUE(waitUntil([&] { return finished.size() == 2; }, 10000));
    ASSERT_EQ(links.opened.size(), 2);
    QStringList pairs;
    for (const QUrl& url : links.opened)
        pairs << url.path();
    pairs.sort();
    EXPECT_EQ(pairs, QStringList({"/1.5", "/1.6"}));
}

// ---- Split view and metal box ----------------------------------------------------------------

TEST(RKSplitView, TheTopPaneIsRememberedAndHeldWithinItsLimits)
{
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.setObjectForKey(QVariant(), "DrawerSplitHeight");
    QWidget window;
    RKSplitView split(&window);
    split.resize(300, 400);
    split.setPanes(new QWidget, new QWidget);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(split.topPaneHeight(), 125) << "first launch";

    const struct {
        int height;
        float proposed;
        float settled;
    } drags[] = {{400, 10, 22}, {400, 350, 300}, {400, 200, 200}, {110, 15, 22}, {110, 50, 10}};
    for (const auto& d : drags) {
        split.resize(300, d.height);
        EXPECT_EQ(split.constrainSplitPositionOfSubviewAt(d.proposed, 0), d.settled) << d.height << " " << d.proposed;
        EXPECT_EQ(defaults.floatForKey("DrawerSplitHeight"), d.settled) << "every step is stored";
    }
    EXPECT_EQ(split.constrainSplitPositionOfSubviewAt(5, 1), 5) << "other dividers are left alone";

    // A drag of the real handle settles within the limits.
    split.resize(300, 400);
    QApplication::processEvents();
    QSplitterHandle* handle = split.handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(0, -handle->mapTo(&split, grip).y() + 5));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(0, -handle->mapTo(&split, grip).y() + 5));
    EXPECT_EQ(split.topPaneHeight(), 22);
    EXPECT_EQ(defaults.floatForKey("DrawerSplitHeight"), 22);

    // A taller window: the bottom pane takes the change, the top pane and the stored value stay.
    const int bottom = split.sizes().at(1);
    split.resize(300, 440);
    QApplication::processEvents();
    EXPECT_EQ(split.topPaneHeight(), 22);
    EXPECT_EQ(split.sizes().at(1), bottom + 40);
    EXPECT_EQ(defaults.floatForKey("DrawerSplitHeight"), 22);

    // The next launch restores the stored height.
    RKSplitView next;
    next.resize(300, 400);
    next.setPanes(new QWidget, new QWidget);
    EXPECT_EQ(next.topPaneHeight(), 22);
    defaults.setObjectForKey(QVariant(), "DrawerSplitHeight");
}

TEST(RKMetalBox, AnEngravedFrameTwoPointsWideAndNothingInside)
{
    RKMetalBox box;
    box.resize(10, 10);
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    box.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    const auto gray = [&](int x, int y) { return qAlpha(image.pixel(x, y)) ? qGray(image.pixel(x, y)) : -1; };
    EXPECT_EQ(gray(5, 0), 147) << "top edge";
    EXPECT_EQ(gray(5, 9), 240) << "bottom edge";
    EXPECT_EQ(gray(0, 5), 224) << "left edge";
    EXPECT_EQ(gray(9, 5), 224) << "right edge";
    for (const QPoint corner : {QPoint(0, 0), QPoint(9, 0), QPoint(0, 9), QPoint(9, 9)})
        EXPECT_EQ(gray(corner.x(), corner.y()), -1) << "corners left out";
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(gray(i, 1), 102);
        EXPECT_EQ(gray(i, 8), 102);
        EXPECT_EQ(gray(1, i), 102);
        EXPECT_EQ(gray(8, i), 102);
    }
    for (int x = 2; x < 8; ++x)
        for (int y = 2; y < 8; ++y)
            EXPECT_EQ(gray(x, y), -1) << "inside untouched";

    box.setShouldDisplay(false);
    image.fill(Qt::transparent);
    box.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(gray(5, 0), -1);
}

// ---- The application object ------------------------------------------------------------------

struct Throwing : QObject {
    int handled = 0;
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("the handler failed");
        if (event->type() == QEvent::User + 1)
            ++handled;
        return QObject::event(event);
    }
};

TEST(RKApplication, AnExceptionInOneEventIsLoggedAndTheLoopGoesOn)
{
    ASSERT_NE(qobject_cast<RKApplication*>(qApp), nullptr);
    QStringList log;
    static QStringList* lines = &log;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { lines->append(m); });
    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();
    qInstallMessageHandler(previous);
    EXPECT_EQ(log, QStringList{"the handler failed"});
    EXPECT_EQ(target.handled, 1) << "the next event is still delivered";
}

} // namespace

