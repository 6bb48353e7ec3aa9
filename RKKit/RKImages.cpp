#include "RKKit/RKImages.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <QtDebug>

#include <cmath>

namespace {

constexpr qreal pictureRatio = 2.0;

QImage emptyPicture(QSizeF logicalSize)
{
    const QSize pixels(int(std::ceil(logicalSize.width() * pictureRatio)),
                       int(std::ceil(logicalSize.height() * pictureRatio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pictureRatio);
    image.fill(Qt::transparent);
    return image;
}

QImage render(const QString& name)
{
    const QString path = QStringLiteral(":/images/%1.svg").arg(name);
    if (!QFile::exists(path)) {
        qWarning().noquote() << "RKImages: no picture named" << name;
        return {};
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        qWarning().noquote() << "RKImages: cannot read the picture" << path;
        return {};
    }
    const QSizeF size = renderer.defaultSize();
    QImage image = emptyPicture(size);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

} // namespace

QImage RKImages::imageNamed(const QString& name)
{
    static QHash<QString, QImage> cache; // unknown names too, as null images
    const auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    return *cache.insert(name, render(name));
}

QImage RKImages::imageScaledInto(const QImage& source, QSizeF size, qreal opacity)
{
    QImage image = emptyPicture(size);
    if (source.isNull())
        return image;
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setOpacity(opacity);
    painter.drawImage(QRectF(QPointF(0, 0), size), source);
    return image;
}
