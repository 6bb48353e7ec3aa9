// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/ArtistAlbumNode.h"
#include "Platform/LoggingCategories.h"

#include "RKKit/RKImages.h"
#include "RKKit/RKText.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

void ArtistAlbumNode::init()
{
    CorrelationNode::init();
    setImage(placeholderImage());
}

void ArtistAlbumNode::setAlbumImageURL(const QUrl& url)
{
    if (!url.isValid())
        return;
    // The address comes from the network: a file:// address would read this machine's files
    // (and a FIFO or /dev/stdin would hang the window), data: and others are no download.
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) {
        qCWarning(lcImages) << "the cover address of" << primaryString() << "is not http or https; the placeholder stays";
        return;
    }
    std::shared_ptr<URLConnectionDelegate> delegate(self<ArtistAlbumNode>(), static_cast<URLConnectionDelegate*>(this));
    m_data.reset();
    m_connection = URLConnection::initWithRequestDelegate(requestWithURL(url), delegate);
}

void ArtistAlbumNode::connectionDidReceiveData(URLConnection& connection, const QByteArray& data)
{
    if (&connection != m_connection.get())
        return;
    if (!m_data)
        m_data = QByteArray();
    if (m_data->size() + data.size() > maximumCoverBytes) {
        qCWarning(lcImages) << "the cover of" << primaryString() << "is larger than" << maximumCoverBytes << "bytes; ignored";
        connection.cancel();
        m_data.reset();
        return;
    }
    m_data->append(data);
}

void ArtistAlbumNode::connectionDidFinishLoading(URLConnection& connection)
{
    if (&connection != m_connection.get())
        return;
    const QImage cover = decodeCover(m_data.value_or(QByteArray()));
    m_data.reset();
    if (cover.isNull())
        return; // not a picture: the placeholder stays rather than a bare shadow
    setImage(imageWithShadow(cover));
    updateBrowserTables();
}

QImage ArtistAlbumNode::decodeCover(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(maximumCoverSide * maximumCoverSide * 4 / (1024 * 1024) + 1);
    const QSize size = reader.size(); // from the header, before any pixel is decoded
    if (!size.isValid() || size.width() > maximumCoverSide || size.height() > maximumCoverSide)
        return {};
    return reader.read();
}

const RKTextAttributes& ArtistAlbumNode::secondaryAttributes() const { return RKText::textAttributesGray11(); }
const RKTextAttributes& ArtistAlbumNode::tertiaryAttributes() const { return RKText::textAttributesGray10(); }

RKImage ArtistAlbumNode::placeholderImage()
{
    return RKImages::imageNamed(QStringLiteral("AlbumPlaceholder"));
}

RKImage ArtistAlbumNode::shadowImage()
{
    return RKImages::imageNamed(QStringLiteral("AlbumShadow"));
}

RKImage ArtistAlbumNode::imageWithShadow(const QImage& cover)
{
    static constexpr QRectF coverSquare(4, 5, 43, 43);
    // Keep only what a 4× screen can show of the cover, not the whole download.
    constexpr int keptSide = 43 * 4;
    QImage kept = cover;
    if (cover.width() > keptSide || cover.height() > keptSide)
        kept = cover.scaled(keptSide, keptSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return RKImage(QSizeF(51, 51), [kept](QPainter& painter, const QSizeF&) {
        shadowImage().drawAtPoint(painter, QPointF(0, 0));
        // Scaled to the device pixels with area averaging, then copied one to one.
        const qreal ratio = painter.device()->devicePixelRatioF();
        const QSize pixels = (coverSquare.size() * ratio).toSize();
        QImage scaled = kept.isNull() ? kept : kept.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        painter.drawImage(coverSquare, scaled);
    });
}
