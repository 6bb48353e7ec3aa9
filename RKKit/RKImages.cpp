// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKImages.h"

#include "Platform/LoggingCategories.h"

#include <QFile>
#include <QHash>
#include <QSvgRenderer>

#include <cmath>

namespace {

int renderings = 0;

// Whole device pixels that hold a logical length at a ratio; a hair of rounding error does not
// add a pixel.
int devicePixels(qreal logical, qreal ratio)
{
    return std::max(1, int(std::ceil(logical * ratio - 1e-6)));
}

} // namespace

struct RKImage::Data {
    QSizeF size;
    DrawFunction draw;
    QList<QImage> representations;
};

RKImage::RKImage(const QSizeF& size, DrawFunction draw)
    : m_data(std::make_shared<Data>(Data{size, std::move(draw), {}}))
{
}

RKImage::RKImage(const QImage& bitmap)
{
    if (bitmap.isNull())
        return;
    const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_data = std::make_shared<Data>(Data{source.deviceIndependentSize(), [source](QPainter& painter, const QSizeF& size) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(0, 0), size), source);
    }, {source}});
}

QSizeF RKImage::size() const
{
    return m_data ? m_data->size : QSizeF();
}

QImage RKImage::imageForDevicePixelRatio(qreal ratio) const
{
    if (!m_data)
        return {};
    if (!(ratio > 0))
        ratio = 1;
    const QSize pixels(devicePixels(m_data->size.width(), ratio), devicePixels(m_data->size.height(), ratio));
    for (const QImage& made : m_data->representations) {
        if (made.size() == pixels && qFuzzyCompare(made.devicePixelRatio(), ratio))
            return made;
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        m_data->draw(painter, m_data->size);
    }
    ++renderings;
    m_data->representations.append(image);
    return image;
}

const QList<QImage>& RKImage::representations() const
{
    static const QList<QImage> none;
    return m_data ? m_data->representations : none;
}

void RKImage::addRepresentation(const QImage& pixels)
{
    if (m_data && !pixels.isNull())
        m_data->representations.append(pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void RKImage::drawAtPoint(QPainter& painter, const QPointF& point, QPainter::CompositionMode operation, qreal opacity) const
{
    if (!m_data)
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage pixels = imageForDevicePixelRatio(ratio);
    // On a whole device pixel, so the rendering is copied one to one and stays sharp.
    const QPointF onPixel(std::round(point.x() * ratio) / ratio, std::round(point.y() * ratio) / ratio);
    painter.save();
    painter.setCompositionMode(operation);
    painter.setOpacity(painter.opacity() * opacity);
    painter.drawImage(onPixel, pixels);
    painter.restore();
}

void RKImage::drawInRect(QPainter& painter, const QRectF& rect, QPainter::CompositionMode operation, qreal opacity) const
{
    if (!m_data)
        return;
    painter.save();
    painter.setCompositionMode(operation);
    painter.setOpacity(painter.opacity() * opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // Rendered for the pixels the rectangle covers, so a picture drawn larger stays sharp.
    const qreal scale = std::max(rect.width() / m_data->size.width(), rect.height() / m_data->size.height());
    painter.drawImage(rect, imageForDevicePixelRatio(std::max(1.0, std::ceil(ratio * scale))));
    painter.restore();
}

void RKImage::renderInRect(QPainter& painter, const QRectF& rect) const
{
    if (!m_data || m_data->size.isEmpty())
        return;
    painter.save();
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / m_data->size.width(), rect.height() / m_data->size.height());
    m_data->draw(painter, m_data->size);
    painter.restore();
}

int RKImage::renderCount()
{
    return renderings;
}

namespace {

RKImage loadNamed(const QString& name)
{
    const QString path = QStringLiteral(":/images/%1.svg").arg(name);
    if (!QFile::exists(path)) {
        qCWarning(lcImages) << "no picture named" << name;
        return {};
    }
    auto renderer = std::make_shared<QSvgRenderer>(path);
    if (!renderer->isValid()) {
        qCWarning(lcImages) << "cannot read the picture" << path;
        return {};
    }
    return RKImage(renderer->defaultSize(), [renderer](QPainter& painter, const QSizeF& size) {
        renderer->render(&painter, QRectF(QPointF(0, 0), size));
    });
}

} // namespace

RKImage RKImages::imageNamed(const QString& name)
{
    static QHash<QString, RKImage> cache; // unknown names too, as null pictures
    const auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    return *cache.insert(name, loadNamed(name));
}

RKImage RKImages::imageScaledInto(const RKImage& source, QSizeF size, qreal opacity)
{
    return RKImage(size, [source, opacity](QPainter& painter, const QSizeF& target) {
        if (source.isNull())
            return;
        // Opacity applies to the whole picture at once, not to each of its overlapping shapes.
        if (opacity < 1.0) {
            const qreal ratio = painter.device()->devicePixelRatioF();
            QImage layer(QSize(int(std::ceil(target.width() * ratio)), int(std::ceil(target.height() * ratio))), QImage::Format_ARGB32_Premultiplied);
            layer.setDevicePixelRatio(ratio);
            layer.fill(Qt::transparent);
            QPainter layerPainter(&layer);
            layerPainter.setRenderHints(painter.renderHints());
            source.renderInRect(layerPainter, QRectF(QPointF(0, 0), target));
            layerPainter.end();
            painter.setOpacity(opacity);
            painter.drawImage(QPointF(0, 0), layer);
            return;
        }
        source.renderInRect(painter, QRectF(QPointF(0, 0), target));
    });
}
