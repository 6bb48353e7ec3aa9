// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

class QAction;
class QMenu;
class QObject;

// Building menus. Every item is added at the end of the menu, without a shortcut.
namespace MenuExtensions {

// Called with the item that was triggered.
using Action = std::function<void(QAction* sender)>;

void addSeparator(QMenu* menu);

// An item with the title and no action of its own that opens the submenu. A submenu
// without a parent becomes the menu's child.
QAction* addSubmenuWithTitle(QMenu* menu, QMenu* submenu, const QString& title);

// An item that calls the action when triggered. The target is the object the action
// works on: the item remembers it, and the action is no longer called once the target
// is destroyed. Without a target the action is called for as long as the item lives.
QAction* addItemWithTitleActionTarget(QMenu* menu, const QString& title, Action action, QObject* target);

// As above; the represented object is kept as the item's data().
QAction* addItemWithTitleActionTargetRepresentedObject(QMenu* menu, const QString& title, Action action,
                                                       QObject* target, const QVariant& representedObject);

// Adds the items in order; true when at least one of them has a (living) target.
bool addItems(QMenu* menu, const QList<QAction*>& items);

} // namespace MenuExtensions
