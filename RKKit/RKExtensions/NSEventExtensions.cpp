// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSEventExtensions.h"

#include <QMouseEvent>
#include <QWidget>

namespace EventExtensions {

// Linux has no drawer windows, so no offset for them is ever added.
QPointF locationInView(const QMouseEvent* event, const QWidget* view)
{
    if (!event)
        return {};
    const QPointF inWindow = event->scenePosition();
    if (!view)
        return inWindow;
    return view->mapFrom(view->window(), inWindow);
}

} // namespace EventExtensions
