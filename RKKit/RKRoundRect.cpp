// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKRoundRect.h"

QPainterPath RKRoundRect::roundRectangleInRect(const QRectF& rect)
{
    const float x = float(rect.x()), y = float(rect.y()), w = float(rect.width()), h = float(rect.height());
    const float r = h * 0.5f;
    const float k = float(double(r) * 0.55); // taken in double, then single precision

    QPainterPath path;
    path.moveTo(x + r, y + h);
    path.cubicTo(x + r - k, y + h, x, y + r + k, x, y + r);
    path.cubicTo(x, y + r - k, x + r - k, y, x + r, y);
    path.lineTo(x + w - r, y);
    path.cubicTo(x + w - r + k, y, x + w, y + r - k, x + w, y + r);
    path.cubicTo(x + w, y + r + k, x + w - r + k, y + h, x + w - r, y + h);
    path.lineTo(x + r, y + h);
    return path;
}
