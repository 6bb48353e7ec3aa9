// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKTableCell.h"

#include "RKKit/RKColor.h"
#include "RKKit/RKGradient.h"

#include <QPainter>

void RKTableCell::drawBackgroundInRect(QPainter& painter, const QRectF& rect, bool lightBlue, std::int32_t colorIndex)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, lightBlue ? RKColor::lightBlueColor() : RKColor::whiteColor());
    painter.setCompositionMode(mode);
    if (colorIndex == 2)
        RKGradient::selectedGradient().drawGradientInRect(painter, rect);
    else if (colorIndex == 3)
        RKGradient::selectedGrayGradient().drawGradientInRect(painter, rect);
}

void RKTableCell::drawWithFrameInView(QPainter&, const QRectF&, const QWidget*)
{
}
