// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKApplication.h"

#include "Platform/LoggingCategories.h"

#include <QFile>

#include <csignal>
#include <exception>

RKApplication::RKApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool RKApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& exception) {
        qCWarning(lcApplication).noquote() << QString::fromLocal8Bit(exception.what());
    } catch (...) {
        qCWarning(lcApplication).noquote() << QStringLiteral("unknown exception");
    }
    Debugger();
    return false;
}

void RKApplication::Debugger()
{
    // A tracer (a debugger) shows as a non-zero TracerPid of the process.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("TracerPid:")) {
            if (line.mid(10).trimmed().toLongLong() != 0)
                std::raise(SIGTRAP);
            return;
        }
    }
}
