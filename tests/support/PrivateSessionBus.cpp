// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PrivateSessionBus.h"

#include <QProcess>
#include <QUuid>

PrivateSessionBus::PrivateSessionBus()
    : m_daemon(std::make_unique<QProcess>())
    , m_connectionName(QStringLiteral("private-session-bus-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    m_daemon->setProgram(QStringLiteral("dbus-daemon"));
    m_daemon->setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                            QStringLiteral("--print-address=1")});
    m_daemon->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon->start();
    if (!m_daemon->waitForStarted(5000)) {
        m_error = QStringLiteral("dbus-daemon did not start: %1").arg(m_daemon->errorString());
        return;
    }
    while (!m_daemon->canReadLine()) {
        if (!m_daemon->waitForReadyRead(5000)) {
            m_error = QStringLiteral("dbus-daemon printed no address");
            return;
        }
    }
    m_address = QString::fromUtf8(m_daemon->readLine()).trimmed();
    m_hadPreviousAddress = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
    m_previousAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

PrivateSessionBus::~PrivateSessionBus()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
    if (m_hadPreviousAddress)
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_previousAddress);
    else if (isRunning())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    if (m_daemon->state() != QProcess::NotRunning) {
        m_daemon->terminate();
        if (!m_daemon->waitForFinished(2000)) {
            m_daemon->kill();
            m_daemon->waitForFinished(2000);
        }
    }
}

QDBusConnection PrivateSessionBus::connection() const
{
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}
