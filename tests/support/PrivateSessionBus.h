// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

#include <memory>

class QProcess;

// A D-Bus session bus of this test process alone: starts its own dbus-daemon, points
// DBUS_SESSION_BUS_ADDRESS at it (so child processes and a not yet used
// QDBusConnection::sessionBus() reach it) and stops the daemon when destroyed.
// Parallel tests therefore never see each other's bus names.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    QString errorText() const { return m_error; }

    // A connection of this process to the private bus (independent of sessionBus()).
    QDBusConnection connection() const;

private:
    std::unique_ptr<QProcess> m_daemon;
    QString m_address;
    QString m_error;
    QString m_connectionName;
    QByteArray m_previousAddress;
    bool m_hadPreviousAddress = false;
};
