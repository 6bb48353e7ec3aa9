// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pictures that stay sharp on every screen. An RKImage has a logical size (in device-independent
// pixels) and a way to draw itself into that size; its pixels are rendered for each device pixel
// ratio it is painted at, the first time, and kept with the picture. Copies share the picture
// and its renderings. The application's named pictures are SVG resources (":/images/<name>.svg").
// Main thread only.

#include <QImage>
#include <QPainter>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class RKImage {
public:
    // Draws the picture into (0, 0, size) of a painter already scaled to the device pixels.
    using DrawFunction = std::function<void(QPainter& painter, const QSizeF& size)>;

    RKImage() = default; // the null picture: no size, draws nothing
    RKImage(const QSizeF& size, DrawFunction draw);
    // A bitmap: its logical size is its device-independent size; other ratios are scaled from it.
    explicit RKImage(const QImage& bitmap);

    bool isNull() const { return !m_data; }
    QSizeF size() const;
    QRectF rect() const { return {QPointF(0, 0), size()}; }
    // The same for every copy of one picture; 0 for the null picture.
    quintptr cacheKey() const { return quintptr(m_data.get()); }

    // The pixels at a device pixel ratio: the smallest whole-pixel image that holds the picture,
    // with that ratio set on it. Rendered at the first request for the ratio.
    QImage imageForDevicePixelRatio(qreal ratio) const;
    // The renderings made so far (and a bitmap's own pixels), in the order they were made.
    const QList<QImage>& representations() const;
    // Offers pixels for the ratio they were made at (their devicePixelRatio()).
    void addRepresentation(const QImage& pixels);

    // Draws the whole picture with its top-left corner at the point, rendered at the painting
    // device's pixel ratio and placed on a whole device pixel.
    void drawAtPoint(QPainter& painter, const QPointF& point,
                     QPainter::CompositionMode operation = QPainter::CompositionMode_SourceOver,
                     qreal opacity = 1.0) const;
    // Draws the picture afresh into the rectangle, as a vector picture is drawn at any size:
    // nothing is scaled from pixels made for another size (a bitmap is scaled smoothly).
    void renderInRect(QPainter& painter, const QRectF& rect) const;
    // Draws the whole picture scaled into the rectangle, smoothly.
    void drawInRect(QPainter& painter, const QRectF& rect,
                    QPainter::CompositionMode operation = QPainter::CompositionMode_SourceOver,
                    qreal opacity = 1.0) const;

    // How many renderings every picture of this process has made (pictures are made once per
    // picture and ratio; a benchmark or test can check that repaints make none).
    static int renderCount();

private:
    struct Data;
    std::shared_ptr<Data> m_data;
};

namespace RKImages {

// The picture of that name at the SVG's own size, shared for the process. An unknown name
// gives the null picture and one log line (the first time it is asked for).
RKImage imageNamed(const QString& name);

// A new picture of the given logical size with the source drawn scaled to fill it, smoothly, at
// the given opacity; rendered from the source at each ratio, so it is as sharp as the source
// allows. A null source gives a picture of that size that draws nothing.
RKImage imageScaledInto(const RKImage& source, QSizeF size, qreal opacity = 1.0);

} // namespace RKImages
