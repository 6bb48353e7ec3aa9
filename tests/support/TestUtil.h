#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

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
