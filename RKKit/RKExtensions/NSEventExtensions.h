// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>

class QMouseEvent;
class QWidget;

namespace EventExtensions {

// Where the event happened, in the view's own coordinates: the event's position in its
// window mapped into the view. With no view, the position in the window.
QPointF locationInView(const QMouseEvent* event, const QWidget* view);

} // namespace EventExtensions
