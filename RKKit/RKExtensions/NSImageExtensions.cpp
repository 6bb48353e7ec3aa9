// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSImageExtensions.h"

#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/NSAttributedStringExtensions.h"

#include <QFontMetricsF>
#include <QWidget>

#include <limits>

RKImage ImageExtensions::initWithFocusedViewRect(QWidget* view, const QRectF& rect)
{
    if (!view)
        return {};
    QImage pixels = view->grab(rect.toAlignedRect()).toImage();
    return RKImage(pixels);
}

QRectF ImageExtensions::rect(const RKImage& image)
{
    return image.rect();
}

bool ImageExtensions::drawAtPoint(QPainter& painter, const RKImage& image, const QPointF& point)
{
    return drawAtPointWithOpacity(painter, image, point, 1.0);
}

bool ImageExtensions::drawAtPointWithOpacity(QPainter& painter, const RKImage& image, const QPointF& point, qreal opacity)
{
    image.drawAtPoint(painter, point, QPainter::CompositionMode_SourceAtop, opacity);
    return true;
}

std::optional<QImage> ImageExtensions::smallestRepresentation(const RKImage& image)
{
    std::optional<QImage> smallest;
    for (const QImage& representation : image.representations()) {
        if (!smallest || representation.width() < smallest->width())
            smallest = representation;
    }
    return smallest;
}

std::optional<QImage> ImageExtensions::firstRepresentation(const RKImage& image)
{
    if (image.representations().isEmpty())
        return std::nullopt;
    return image.representations().first();
}

RKImage ImageExtensions::whiteSilhouette(const RKImage& image)
{
    return RKImage(image.size(), [image](QPainter& painter, const QSizeF& size) {
        image.drawInRect(painter, QRectF(QPointF(0, 0), size));
        // White in, keeping the destination's alpha: white × alpha, alpha.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRectF(QPointF(0, 0), size), RKColor::whiteColor());
    });
}

namespace {

void drawText(QPainter& painter, const RKAttributedString& text, const QPointF& point)
{
    const QPen pen = painter.pen();
    painter.setFont(text.attributes.font);
    painter.setPen(text.attributes.foregroundColor);
    // The point is the top-left of the text's line.
    painter.drawText(point + QPointF(0, QFontMetricsF(text.attributes.font).ascent()), text.string);
    painter.setPen(pen);
}

} // namespace

RKImage ImageExtensions::imageWithAttributes(const QString& text, const RKTextAttributes& attributes)
{
    const QFontMetricsF metrics(attributes.font);
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    const RKAttributedString attributed{text, attributes};
    return RKImage(size, [attributed](QPainter& painter, const QSizeF& size) {
        if (size.width() > 0)
            drawText(painter, attributed, QPointF(0, 0));
    });
}

void ImageExtensions::drawAtPointWithAttributesBackgroundColor(QPainter& painter, const QString& text, const QPointF& point,
                                                               const RKTextAttributes& attributes, const QColor& backgroundColor)
{
    RKAttributedString attributed{text, attributes};
    if (&backgroundColor == &RKColor::alternateSelectedControlColor())
        attributed = AttributedStringExtensions::whiteAttributedString(attributed);
    drawText(painter, attributed, point);
}

void ImageExtensions::drawAtPointWithAttributesBackgroundColorIndexWhiteAlpha(QPainter& painter, const QString& text, const QPointF& point,
                                                                              const RKTextAttributes& attributes, std::int32_t index, float alpha)
{
    RKAttributedString attributed{text, attributes};
    if (index == 2) {
        attributed = alpha < 1.0f ? AttributedStringExtensions::attributedStringWithColor(attributed, RKColor::whiteColorBlendedWithAlternate())
                                  : AttributedStringExtensions::whiteAttributedString(attributed);
    }
    drawText(painter, attributed, point);
}
