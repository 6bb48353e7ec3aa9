// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/ServiceAddress.h"

#include "Platform/UserDefaults.h"

QString serviceURL()
{
    static const QString key = QStringLiteral("ServiceURL");
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    static const bool registered = [&defaults] {
        defaults.registerDefaults({{key, QStringLiteral("http://127.0.0.1:8642")}});
        return true;
    }();
    (void)registered;
    QString base = defaults.stringForKey(key).value_or(QString());
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}
