// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/NotificationCenter.h"

#include "Platform/UserDefaults.h"

#include <QCoreApplication>

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* receiver, std::function<bool()> isAlive, const QString& name,
                                     const void* sender, Callback callback)
{
    m_registrations.push_back({m_nextId++, receiver, std::move(isAlive), name, sender, std::move(callback)});
}

void NotificationCenter::removeObserver(const void* receiver)
{
    std::erase_if(m_registrations, [receiver](const Registration& r) { return r.receiver == receiver; });
}

void NotificationCenter::postNotification(const QString& name, const void* sender)
{
    // Callbacks may register or remove observers: walk the ids present now, and look each one
    // up again before calling it, so a registration removed meanwhile is skipped.
    std::vector<unsigned long long> ids;
    for (const Registration& r : m_registrations) {
        if (r.name == name && (!r.sender || r.sender == sender))
            ids.push_back(r.id);
    }
    const Notification notification{name, sender};
    for (const unsigned long long id : ids) {
        auto it = std::find_if(m_registrations.begin(), m_registrations.end(),
                               [id](const Registration& r) { return r.id == id; });
        if (it == m_registrations.end())
            continue;
        if (!it->isAlive()) {
            m_registrations.erase(it);
            continue;
        }
        const Callback callback = it->callback; // the vector may change during the call
        callback(notification);
    }
}

std::size_t NotificationCenter::registrationCount() const
{
    return m_registrations.size();
}

void postApplicationWillTerminateOnQuit()
{
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, QCoreApplication::instance(), [] {
        NotificationCenter::defaultCenter().postNotification(ApplicationWillTerminateNotification, QCoreApplication::instance());
        UserDefaults::standardUserDefaults().synchronize();
    });
}
