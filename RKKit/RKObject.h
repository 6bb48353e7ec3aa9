// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A base object that hears the application's launch and terminate notifications (and, when a
// subclass opts in, changes of the defaults store) and turns them into hooks to override.

#include <QObject>

class RKObject : public QObject {
    Q_OBJECT
public:
    explicit RKObject(QObject* parent = nullptr);
    ~RKObject() override;

    // Subscribes to the notifications; a subclass that wants defaultsDidChange answers true
    // from listensForDefaultsChanges() and calls init() from its own constructor.
    void init();

protected:
    virtual bool listensForDefaultsChanges() const { return false; }
    virtual void applicationWillFinishLaunching() {}
    virtual void applicationDidFinishLaunching() {}
    virtual void applicationWillTerminate() {}
    virtual void defaultsDidChange() {}
    virtual void initDefaults() {}

private:
    bool m_initialised = false;
};
