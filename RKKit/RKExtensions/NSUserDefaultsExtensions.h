// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Geometry in the defaults store, as separate numbers under derived keys: a size under
// K.width and K.height, a point under K.x and K.y, a rectangle under K.origin.x, K.origin.y,
// K.size.width and K.size.height. Missing keys read as 0.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class UserDefaults;

namespace UserDefaultsExtensions {

void setSizeForKey(UserDefaults& defaults, QSizeF size, const QString& key);
QSizeF sizeForKey(const UserDefaults& defaults, const QString& key);
void setPointForKey(UserDefaults& defaults, QPointF point, const QString& key);
QPointF pointForKey(const UserDefaults& defaults, const QString& key);
void setRectForKey(UserDefaults& defaults, const QRectF& rect, const QString& key);
QRectF rectForKey(const UserDefaults& defaults, const QString& key);

} // namespace UserDefaultsExtensions
