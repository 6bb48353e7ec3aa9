// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small synchronous notification centre: named notifications, an optional sender filter,
// and a callback on the receiver. A receiver that has died is never called.

#include <QString>

#include <functional>
#include <vector>

struct Notification {
    QString name;
    const void* object = nullptr; // the sender; identity only, never dereferenced
};

// Posted by the entry point before the main window is made, and once it is shown.
inline const QString ApplicationWillFinishLaunchingNotification = QStringLiteral("ApplicationWillFinishLaunchingNotification");
inline const QString ApplicationDidFinishLaunchingNotification = QStringLiteral("ApplicationDidFinishLaunchingNotification");
// Posted when a value of the defaults store is set.
inline const QString UserDefaultsDidChangeNotification = QStringLiteral("UserDefaultsDidChangeNotification");
// Posted from QCoreApplication::aboutToQuit, before the defaults store writes its file.
inline const QString ApplicationWillTerminateNotification = QStringLiteral("ApplicationWillTerminateNotification");

class NotificationCenter {
public:
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // Registers a callback for notifications of the name; sender null means from any sender.
    // isAlive answers whether the receiver still lives; once it answers false the
    // registration is dropped without calling.
    void addObserver(const void* receiver, std::function<bool()> isAlive, const QString& name,
                     const void* sender, Callback callback);
    // Removes every registration of the receiver.
    void removeObserver(const void* receiver);
    // Calls, at once and in registration order, every live receiver of the name and sender.
    void postNotification(const QString& name, const void* sender);

    std::size_t registrationCount() const;

private:
    struct Registration {
        unsigned long long id;
        const void* receiver;
        std::function<bool()> isAlive;
        QString name;
        const void* sender;
        Callback callback;
    };
    std::vector<Registration> m_registrations;
    unsigned long long m_nextId = 1;
};

// Makes the application post ApplicationWillTerminateNotification when it is about to quit,
// then write the defaults store, so what the receivers saved reaches the disk.
void postApplicationWillTerminateOnQuit();
