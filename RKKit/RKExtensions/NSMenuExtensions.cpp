// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSMenuExtensions.h"

#include <QAction>
#include <QMenu>

namespace MenuExtensions {

namespace {

constexpr char targetProperty[] = "corvaleMenuTarget";

QObject* targetOf(const QAction* item)
{
    return item ? item->property(targetProperty).value<QObject*>() : nullptr;
}

} // namespace

void addSeparator(QMenu* menu)
{
    if (menu)
        menu->addSeparator();
}

QAction* addSubmenuWithTitle(QMenu* menu, QMenu* submenu, const QString& title)
{
    if (!menu || !submenu)
        return nullptr;
    if (!submenu->parent())
        submenu->setParent(menu, submenu->windowFlags());
    submenu->setTitle(title);
    return menu->addMenu(submenu);
}

QAction* addItemWithTitleActionTarget(QMenu* menu, const QString& title, Action action, QObject* target)
{
    if (!menu)
        return nullptr;
    QAction* item = menu->addAction(title);
    if (target) {
        item->setProperty(targetProperty, QVariant::fromValue(target));
        QObject::connect(target, &QObject::destroyed, item, [item] { item->setProperty(targetProperty, QVariant()); });
    }
    if (action) {
        QObject::connect(item, &QAction::triggered, target ? target : item,
                         [item, action = std::move(action)] { action(item); });
    }
    return item;
}

QAction* addItemWithTitleActionTargetRepresentedObject(QMenu* menu, const QString& title, Action action,
                                                       QObject* target, const QVariant& representedObject)
{
    QAction* item = addItemWithTitleActionTarget(menu, title, std::move(action), target);
    if (item)
        item->setData(representedObject);
    return item;
}

bool addItems(QMenu* menu, const QList<QAction*>& items)
{
    if (!menu)
        return false;
    bool anyTarget = false;
    for (QAction* item : items) {
        if (!item)
            continue;
        menu->addAction(item);
        anyTarget = anyTarget || targetOf(item) != nullptr;
    }
    return anyTarget;
}

} // namespace MenuExtensions
