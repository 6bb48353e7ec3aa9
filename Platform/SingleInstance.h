// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One running instance per session, the freedesktop way: the first process owns a name on the
// session bus and serves org.freedesktop.Application (Activate raises it, Open hands it links);
// a later launch finds the name taken, calls the running instance and ends. Without a session
// bus every process runs alone.

#include <QObject>
#include <QStringList>

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // serviceName "org.corvale.Corvale" is served at the path "/org/corvale/Corvale".
    explicit SingleInstance(const QString& serviceName, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Role {
        Primary,   // this process owns the name and serves the interface
        Forwarded, // another instance took the links (or the activation); this one should end
        Alone,     // no session bus: run without one
    };
    // Hands the links (none: an activation) to a running instance, or becomes the instance.
    Role start(const QStringList& links);

    QString serviceName() const { return m_serviceName; }
    QString objectPath() const;

Q_SIGNALS:
    void activateRequested();
    void openRequested(const QStringList& links);

private:
    bool forward(const QStringList& links);

    QString m_serviceName;
    bool m_registered = false;
};
