// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSUserDefaultsExtensions.h"

#include "Platform/UserDefaults.h"

namespace UserDefaultsExtensions {

void setSizeForKey(UserDefaults& defaults, QSizeF size, const QString& key)
{
    defaults.setFloatForKey(float(size.width()), key + QStringLiteral(".width"));
    defaults.setFloatForKey(float(size.height()), key + QStringLiteral(".height"));
}

QSizeF sizeForKey(const UserDefaults& defaults, const QString& key)
{
    return {defaults.floatForKey(key + QStringLiteral(".width")), defaults.floatForKey(key + QStringLiteral(".height"))};
}

void setPointForKey(UserDefaults& defaults, QPointF point, const QString& key)
{
    defaults.setFloatForKey(float(point.x()), key + QStringLiteral(".x"));
    defaults.setFloatForKey(float(point.y()), key + QStringLiteral(".y"));
}

QPointF pointForKey(const UserDefaults& defaults, const QString& key)
{
    return {defaults.floatForKey(key + QStringLiteral(".x")), defaults.floatForKey(key + QStringLiteral(".y"))};
}

void setRectForKey(UserDefaults& defaults, const QRectF& rect, const QString& key)
{
    setPointForKey(defaults, rect.topLeft(), key + QStringLiteral(".origin"));
    setSizeForKey(defaults, rect.size(), key + QStringLiteral(".size"));
}

QRectF rectForKey(const UserDefaults& defaults, const QString& key)
{
    return {pointForKey(defaults, key + QStringLiteral(".origin")), sizeForKey(defaults, key + QStringLiteral(".size"))};
}

} // namespace UserDefaultsExtensions
