// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKObject.h"

#include "RKKit/RKExtensions/Events.h"

RKObject::RKObject(QObject* parent)
    : QObject(parent)
{
}

RKObject::~RKObject()
{
    Events::stopListening(this);
}

void RKObject::init()
{
    if (m_initialised)
        return;
    m_initialised = true;
    Events::listenForNotificationSelector(this, ApplicationWillFinishLaunchingNotification, &RKObject::applicationWillFinishLaunching);
    Events::listenForNotificationSelector(this, ApplicationDidFinishLaunchingNotification, &RKObject::applicationDidFinishLaunching);
    Events::listenForNotificationSelector(this, ApplicationWillTerminateNotification, &RKObject::applicationWillTerminate);
    if (listensForDefaultsChanges())
        Events::listenForNotificationSelector(this, UserDefaultsDidChangeNotification, &RKObject::defaultsDidChange);
    initDefaults();
}
