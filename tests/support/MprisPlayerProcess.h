// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

// Runs test-mpris-player (see mpris-player/main.cpp) on the session bus named by this process's
// DBUS_SESSION_BUS_ADDRESS, e.g. a PrivateSessionBus. The constructor waits until the player
// has registered its bus name; the destructor stops it.
class MprisPlayerProcess {
public:
    explicit MprisPlayerProcess(const QStringList& arguments);
    ~MprisPlayerProcess();
    MprisPlayerProcess(const MprisPlayerProcess&) = delete;
    MprisPlayerProcess& operator=(const MprisPlayerProcess&) = delete;

    bool isReady() const { return m_ready; }

    // Sends one command line ("artist NAME", "status Paused", …) and waits for the player's "ok".
    bool send(const QString& command);

private:
    bool waitForLine(QByteArray* line);

    std::unique_ptr<QProcess> m_process;
    bool m_ready = false;
};
