// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small helpers for pictures and for text drawn as pictures or on a selection background.

#include "RKKit/RKImages.h"
#include "RKKit/RKText.h"

#include <cstdint>
#include <optional>

class QWidget;

namespace ImageExtensions {

// A picture of what the view shows in the rectangle (its own coordinates), at its pixel ratio.
RKImage initWithFocusedViewRect(QWidget* view, const QRectF& rect);
// (0, 0, width, height).
QRectF rect(const RKImage& image);
// The whole picture with its top-left corner at the point, source-atop; always true.
bool drawAtPoint(QPainter& painter, const RKImage& image, const QPointF& point);
bool drawAtPointWithOpacity(QPainter& painter, const RKImage& image, const QPointF& point, qreal opacity);
// Of the picture's representations, in order, the first of the smallest width in pixels.
std::optional<QImage> smallestRepresentation(const RKImage& image);
std::optional<QImage> firstRepresentation(const RKImage& image);
// A new picture: white wherever the picture has ink, with the opacity of each of its pixels.
RKImage whiteSilhouette(const RKImage& image);

// A picture of the text in the attributes, as wide and tall as the text takes.
RKImage imageWithAttributes(const QString& text, const RKTextAttributes& attributes);
// The text at the point; white when the background is the shared focused-selection colour.
void drawAtPointWithAttributesBackgroundColor(QPainter& painter, const QString& text, const QPointF& point,
                                              const RKTextAttributes& attributes, const QColor& backgroundColor);
// The text at the point; on index 2 (focused selection) white, or white blended with the
// selection colour when alpha is below 1; on any other index in its own colour.
void drawAtPointWithAttributesBackgroundColorIndexWhiteAlpha(QPainter& painter, const QString& text, const QPointF& point,
                                                             const RKTextAttributes& attributes, std::int32_t index, float alpha);

} // namespace ImageExtensions
