// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKGradient.h"

#include "RKKit/RKColor.h"

#include <QPainter>

namespace {

int builtGradients = 0;

QColor rgb(float red, float green, float blue)
{
    return QColor::fromRgbF(red, green, blue, 1.0f);
}

} // namespace

RKGradient::RKGradient(const QColor& top, const QColor& bottom, std::optional<QColor> firstLine, std::optional<QColor> lastLine)
    : a(top)
    , b(bottom)
    , c(std::move(firstLine))
    , d(std::move(lastLine))
{
    for (int i = 0; i < numberOfEntries; ++i)
        color[std::size_t(i)] = RKColor::blendedColorWithFraction(a, float(i) / 100.0f, b);
    ++builtGradients;
}

int RKGradient::buildCount()
{
    return builtGradients;
}

const RKGradient& RKGradient::selectedGradient()
{
    static const RKGradient gradient(rgb(0.278431f, 0.6f, 0.898039f), rgb(0, 0.364706f, 0.811765f),
                                     rgb(0.12549f, 0.482353f, 0.854902f), std::nullopt);
    return gradient;
}

const RKGradient& RKGradient::selectedGrayGradient()
{
    static const RKGradient gradient(rgb(0.592157f, 0.596078f, 0.592157f), rgb(0.4f, 0.4f, 0.4f),
                                     rgb(0.498039f, 0.494118f, 0.494118f), std::nullopt);
    return gradient;
}

const RKGradient& RKGradient::metalHeaderGradient()
{
    static const RKGradient gradient(rgb(0.913725f, 0.913725f, 0.913725f), rgb(0.54902f, 0.545098f, 0.545098f),
                                     std::nullopt, rgb(0.4f, 0.4f, 0.4f));
    return gradient;
}

void RKGradient::drawGradientInRect(QPainter& painter, const QRectF& rect) const
{
    const float top = float(rect.y());
    const float height = float(rect.height());
    const float bottom = top + height;
    const qreal width = rect.width();
    if (!(height > 0.0f))
        return;

    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::Antialiasing, false);
    float line = top;
    int lines = 0;
    for (; line < bottom; line += 1.0f, ++lines) {
        const int index = int((line - top) / height * 100.0f);
        painter.fillRect(QRectF(0, line, width, 1), color[std::size_t(index)]);
    }
    if (d)
        painter.fillRect(QRectF(0, top + float(lines - 1), width, 1), *d);
    if (c)
        painter.fillRect(QRectF(0, top, width, 1), *c);
    painter.restore();
}
