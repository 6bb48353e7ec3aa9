// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/Events.h"

namespace Events {

void stopListening(const void* receiver)
{
    NotificationCenter::defaultCenter().removeObserver(receiver);
}

void postNotificationAboutSelf(const void* self, const QString& name)
{
    NotificationCenter::defaultCenter().postNotification(name, self);
}

void postNotificationAboutSelfLater(QObject* self, const QString& name)
{
    QPointer<QObject> guard(self);
    QTimer::singleShot(0, QCoreApplication::instance(), [guard, name] {
        if (guard)
            postNotificationAboutSelf(guard.data(), name);
    });
}

} // namespace Events
