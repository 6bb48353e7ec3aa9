// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One curated pick: artist, album, a line about it, and the album's cover, which the row
// downloads by itself. In every other respect a similar-artist row, without stars.

#include "Application/CorrelationNode.h"
#include "Platform/URLConnection.h"

#include <QByteArray>

#include <memory>
#include <optional>

class ArtistAlbumNode : public CorrelationNode, public URLConnectionDelegate {
public:
    // Covers larger than this, in bytes or in either dimension, are not decoded.
    static constexpr qsizetype maximumCoverBytes = 16 * 1024 * 1024;
    static constexpr int maximumCoverSide = 4096;

    void init() override;
    void setArtist(const QString& artist) { setPrimary(artist); }
    void setAlbum(const QString& album) { setSecondary(album); }
    void setDescription(const QString& description) { setTertiary(description); }
    // Starts the cover download at once; an invalid address, or one that is not http or
    // https, keeps the placeholder.
    void setAlbumImageURL(const QUrl& url);

    void connectionDidReceiveData(URLConnection& connection, const QByteArray& data) override;
    void connectionDidFinishLoading(URLConnection& connection) override;

    const RKTextAttributes& secondaryAttributes() const override;
    const RKTextAttributes& tertiaryAttributes() const override;
    QSizeF secondaryOffset() const override { return {0, 20}; }
    QSizeF tertiaryOffset() const override { return {0, 35}; }
    float rowHeight() const override { return 52; }
    // Album rows have neither stars nor an arrow.
    float drawRightDecorationInFrame(QPainter&, const QRectF&) override { return 0; }

    static RKImage placeholderImage();
    static RKImage shadowImage();
    // The 51 × 51 picture of a cover: the shadow at (0, 0), the cover scaled into (4, 5, 43, 43).
    static RKImage imageWithShadow(const QImage& cover);
    // Decodes cover bytes (PNG, JPEG, GIF…); a null image when they are not a picture or the
    // picture is too large.
    static QImage decodeCover(const QByteArray& bytes);

    const URLConnection* connection() const { return m_connection.get(); }

private:
    std::shared_ptr<URLConnection> m_connection;
    std::optional<QByteArray> m_data;
};
