// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/NotificationCenter.h"
#include "Platform/TerminationSignals.h"
#include "Platform/UserDefaults.h"
#include "RKKit/RKExtensions/Events.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

struct Listener {
    QStringList heard;
    int ticks = 0;
    void onNotification(const Notification& n) { heard.append(n.name); }
    void tick() { ++ticks; }
};

struct WidgetLikeListener : QObject {
    int heard = 0;
    void onNotification() { ++heard; }
};

const QString Ping = QStringLiteral("PingNotification");

} // namespace

TEST(Events, DeliversByNameAndSenderFilter)
{
    auto any = std::make_shared<Listener>();
    auto filtered = std::make_shared<Listener>();
    int senderA = 0, senderB = 0;
    Events::listenForNotificationSelector(any, Ping, &Listener::onNotification);
    Events::listenForNotificationSelectorObject(filtered, Ping, &Listener::onNotification, &senderA);

    Events::postNotificationAboutSelf(&senderA, Ping);
    Events::postNotificationAboutSelf(&senderB, Ping);
    Events::postNotificationAboutSelf(&senderA, QStringLiteral("OtherNotification"));

    EXPECT_EQ(any->heard, (QStringList{Ping, Ping}));
    EXPECT_EQ(filtered->heard, QStringList{Ping});

    Events::stopListening(any.get());
    Events::stopListening(filtered.get());
    Events::postNotificationAboutSelf(&senderA, Ping);
    EXPECT_EQ(any->heard.size(), 2);
    EXPECT_EQ(NotificationCenter::defaultCenter().registrationCount(), 0u);
}

TEST(Events, ADestroyedReceiverIsNeverCalled)
{
    auto node = std::make_shared<Listener>();
    Events::listenForNotificationSelector(node, Ping, &Listener::onNotification);
    auto* widget = new WidgetLikeListener;
    Events::listenForNotificationSelector(widget, Ping, &WidgetLikeListener::onNotification);
    Events::postNotificationAboutSelf(nullptr, Ping);
    EXPECT_EQ(widget->heard, 1);

    node.reset();
    delete widget;
    Events::postNotificationAboutSelf(nullptr, Ping); // would crash under ASan if either were called
    EXPECT_EQ(NotificationCenter::defaultCenter().registrationCount(), 0u) << "dead registrations are dropped";
}

TEST(Events, AReceiverRemovedDuringAPostIsSkipped)
{
    auto first = std::make_shared<Listener>();
    auto second = std::make_shared<Listener>();
    NotificationCenter::defaultCenter().addObserver(first.get(), [] { return true; }, Ping, nullptr,
                                                    [&](const Notification&) { Events::stopListening(second.get()); });
    Events::listenForNotificationSelector(second, Ping, &Listener::onNotification);
    Events::postNotificationAboutSelf(nullptr, Ping);
    EXPECT_TRUE(second->heard.isEmpty());
    Events::stopListening(first.get());
}

TEST(Events, PostLaterArrivesOnALaterPassOfTheEventLoop)
{
    auto listener = std::make_shared<Listener>();
    auto self = std::make_shared<int>(0);
    Events::listenForNotificationSelectorObject(listener, Ping, &Listener::onNotification, self.get());
    Events::postNotificationAboutSelfLater(self, Ping);
    EXPECT_TRUE(listener->heard.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !listener->heard.isEmpty(); }));

    auto gone = std::make_shared<int>(0);
    Events::listenForNotificationSelectorObject(listener, Ping, &Listener::onNotification, gone.get());
    Events::postNotificationAboutSelfLater(gone, Ping);
    gone.reset();
    spinEventLoop(50);
    EXPECT_EQ(listener->heard.size(), 1) << "a sender that died before the post posts nothing";
    Events::stopListening(listener.get());
}

TEST(Events, RepeatingTimerTicksUntilItsReceiverDies)
{
    auto listener = std::make_shared<Listener>();
    QPointer<QTimer> timer = Events::repeatingTimerWithTimeIntervalSelector(listener, 0.02, &Listener::tick);
    ASSERT_TRUE(waitUntil([&] { return listener->ticks >= 3; }));
    ASSERT_TRUE(timer);
    listener.reset();
    ASSERT_TRUE(waitUntil([&] { return timer.isNull(); })) << "the timer goes away with its receiver";
}

TEST(Events, QuittingPostsTheTerminateNotificationOnce)
{
    auto listener = std::make_shared<Listener>();
    Events::listenForNotificationSelector(listener, ApplicationWillTerminateNotification, &Listener::onNotification);
    postApplicationWillTerminateOnQuit();
    QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    EXPECT_EQ(listener->heard, QStringList{ApplicationWillTerminateNotification});
}

// Runs only as the child process of the signal test below.
TEST(Events, ChildProcessSavesWhenSignalled)
{
    if (qEnvironmentVariable("CORVALE_TEST_ROLE") != "signalled")
        GTEST_SKIP() << "child process of ATerminationSignalQuitsThroughTheSavingPath";
    postApplicationWillTerminateOnQuit();
    quitOnTerminationSignals();
    auto saver = std::make_shared<Listener>();
    NotificationCenter::defaultCenter().addObserver(saver.get(), [] { return true; }, ApplicationWillTerminateNotification, nullptr,
                                                    [](const Notification&) {
                                                        UserDefaults::standardUserDefaults().setObjectForKey(QString("saved"), "State");
                                                    });
    QTimer::singleShot(0, qApp, [] {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
    });
    QCoreApplication::exec();
}

TEST(Events, ATerminationSignalQuitsThroughTheSavingPath)
{
    QTemporaryDir home;
    QProcess child;
    startChildTest(child, "Events.ChildProcessSavesWhenSignalled", "signalled", home.path());
    ASSERT_TRUE(waitUntil([&] { return child.readAllStandardOutput().contains("ready") || child.state() == QProcess::NotRunning; }, 20000));
    child.terminate(); // SIGTERM, as at logout
    ASSERT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    UserDefaults stored(home.path() + "/corvale/defaults.json");
    EXPECT_EQ(stored.stringForKey("State"), QString("saved"));
}
