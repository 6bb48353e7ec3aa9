// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

#include <QProcess>
#include <QString>

#include <functional>
#include <ostream>

// Readable test failures: QString (and so QStringList) prints as its UTF-8 text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Runs the event loop until the condition holds or the time-out passes; answers the condition.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

// Runs the event loop for the given time, delivering every queued callback.
inline void spinEventLoop(int ms)
{
    QTest::qWait(ms);
}

// Starts this test program again, running only the named test, in the role given and on the
// defaults file under configHome: how a test checks what survives a restart.
inline void startChildTest(QProcess& child, const QString& testName, const QString& role, const QString& configHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVALE_TEST_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("CORVALE_TEST_ROLE"), role);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + testName});
}
