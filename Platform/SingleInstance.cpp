// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/SingleInstance.h"

#include "Platform/LoggingCategories.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

// org.freedesktop.Application, as the desktop calls it (platform data is accepted and unused).
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(SingleInstance* instance)
        : QDBusAbstractAdaptor(instance)
        , m_instance(instance)
    {
    }

public Q_SLOTS:
    void Activate(const QVariantMap&) { Q_EMIT m_instance->activateRequested(); }
    void Open(const QStringList& uris, const QVariantMap&) { Q_EMIT m_instance->openRequested(uris); }
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { Q_EMIT m_instance->activateRequested(); }

private:
    SingleInstance* m_instance;
};

const QString interfaceName = QStringLiteral("org.freedesktop.Application");

} // namespace

SingleInstance::SingleInstance(const QString& serviceName, QObject* parent)
    : QObject(parent)
    , m_serviceName(serviceName)
{
}

SingleInstance::~SingleInstance()
{
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(objectPath());
        bus.unregisterService(m_serviceName);
    }
}

QString SingleInstance::objectPath() const
{
    return QLatin1Char('/') + QString(m_serviceName).replace(u'.', u'/');
}

bool SingleInstance::forward(const QStringList& links)
{
    QDBusMessage call = links.isEmpty()
        ? QDBusMessage::createMethodCall(m_serviceName, objectPath(), interfaceName, QStringLiteral("Activate"))
        : QDBusMessage::createMethodCall(m_serviceName, objectPath(), interfaceName, QStringLiteral("Open"));
    if (links.isEmpty())
        call << QVariantMap();
    else
        call << links << QVariantMap();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcApplication) << "the running instance did not answer:" << reply.errorMessage();
        return false;
    }
    return true;
}

SingleInstance::Role SingleInstance::start(const QStringList& links)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Role::Alone;
    // Twice: a name that was taken and then freed between the check and the registration.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (bus.interface()->isServiceRegistered(m_serviceName))
            return forward(links) ? Role::Forwarded : Role::Alone;
        new ApplicationAdaptor(this);
        if (bus.registerObject(objectPath(), this) && bus.registerService(m_serviceName)) {
            m_registered = true;
            return Role::Primary;
        }
        bus.unregisterObject(objectPath());
        qDeleteAll(findChildren<ApplicationAdaptor*>());
    }
    return Role::Alone;
}

#include "SingleInstance.moc"
