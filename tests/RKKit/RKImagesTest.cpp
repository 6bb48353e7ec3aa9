// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled-in pictures and the scaled copies made of them.
#include "RKKit/RKImages.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QPainter>

#include <cmath>

namespace {

struct Picture {
    const char* name;
    QSize size;
};

const Picture pictures[] = {
    {"BrowserArrow", {7, 9}},      {"BrowserArrowSelected", {7, 9}}, {"BrowserArrowPartial", {7, 9}},
    {"StarWhite", {11, 11}},       {"StarGray", {11, 11}},           {"Link", {14, 14}},
    {"LinkWhite", {14, 14}},       {"AlbumPlaceholder", {51, 51}},   {"AlbumShadow", {51, 51}},
    {"Acquisition", {32, 32}},     {"itunes", {32, 32}},             {"NothingFound", {33, 33}},
    {"registration", {31, 31}},    {"music", {31, 31}},
};

// The most opaque pixel: the picture's ink.
QColor ink(const QImage& image)
{
    QColor best(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > best.alpha())
                best = c;
        }
    }
    return best;
}

TEST(RKImages, EveryPictureIsRenderedOncePerRatioAtItsNaturalSize)
{
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name);
        const RKImage picture = RKImages::imageNamed(QString::fromLatin1(p.name));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSizeF(p.size));
        for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            SCOPED_TRACE(ratio);
            const QImage pixels = picture.imageForDevicePixelRatio(ratio);
            EXPECT_EQ(pixels.devicePixelRatio(), ratio);
            EXPECT_EQ(pixels.format(), QImage::Format_ARGB32_Premultiplied);
            EXPECT_EQ(pixels.size(), QSize(int(std::ceil(p.size.width() * ratio)), int(std::ceil(p.size.height() * ratio))));
            EXPECT_GT(ink(pixels).alpha(), 50) << "nothing drawn";
            // Shared: asked again, the picture and its rendering are the same, not made anew.
            const int renderings = RKImage::renderCount();
            EXPECT_EQ(RKImages::imageNamed(QString::fromLatin1(p.name)).cacheKey(), picture.cacheKey());
            EXPECT_EQ(picture.imageForDevicePixelRatio(ratio).cacheKey(), pixels.cacheKey());
            EXPECT_EQ(RKImage::renderCount(), renderings);
        }
    }
}

TEST(RKImages, EdgesStaySharpAtThreeTimes)
{
    // The placeholder's sleeve is a square from x = 4 to 47 points. Drawn at 3x on a whole
    // point, its left edge must fall between two device pixels: rendered for the screen, not
    // scaled up from a smaller rendering.
    QImage canvas(QSize(60, 60) * 3, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(3);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        RKImages::imageNamed("AlbumPlaceholder").drawAtPoint(painter, QPointF(2, 2));
    }
    const int middle = (2 + 26) * 3;
    const int edge = (2 + 4) * 3; // first device pixel of the sleeve
    EXPECT_EQ(qAlpha(canvas.pixel(edge, middle)), 255);
    EXPECT_LT(qAlpha(canvas.pixel(edge - 1, middle)), 80) << "the edge is blurred over two device pixels";
    const int right = (2 + 47) * 3; // first device pixel after the sleeve
    EXPECT_EQ(qAlpha(canvas.pixel(right - 1, middle)), 255);
    EXPECT_LT(qAlpha(canvas.pixel(right, middle)), 80);
}

TEST(RKImages, SelectedVariantsAreWhiteAndPlainOnesAreNot)
{
    for (const char* name : {"BrowserArrowSelected", "BrowserArrowPartial", "StarWhite", "LinkWhite"}) {
        const QColor c = ink(RKImages::imageNamed(QString::fromLatin1(name)).imageForDevicePixelRatio(2));
        EXPECT_EQ(c.rgb(), qRgb(255, 255, 255)) << name;
    }
    for (const char* name : {"BrowserArrow", "StarGray", "Link"}) {
        const QColor c = ink(RKImages::imageNamed(QString::fromLatin1(name)).imageForDevicePixelRatio(2));
        EXPECT_LT(c.lightness(), 160) << name;
    }
    // The partial arrow is only partly filled: faint towards its tip, where the full one is solid.
    const QPoint nearTip(9, 7); // device pixels, logical (4.5, 3.5)
    EXPECT_EQ(qAlpha(RKImages::imageNamed("BrowserArrowSelected").imageForDevicePixelRatio(2).pixel(nearTip)), 255);
    EXPECT_LT(qAlpha(RKImages::imageNamed("BrowserArrowPartial").imageForDevicePixelRatio(2).pixel(nearTip)), 160);
}

TEST(RKImages, AlbumBackdropLeavesTheCoverSquareForTheCover)
{
    const QImage shadow = RKImages::imageNamed("AlbumShadow").imageForDevicePixelRatio(2);
    const QImage placeholder = RKImages::imageNamed("AlbumPlaceholder").imageForDevicePixelRatio(2);
    // A soft shadow: faint, never opaque; darker under the cover than at the corner.
    EXPECT_LT(ink(shadow).alpha(), 128);
    EXPECT_GT(qAlpha(shadow.pixel(2 * 25, 2 * 49)), qAlpha(shadow.pixel(0, 0)));
    // The placeholder fills the cover square (4, 5, 43, 43) opaquely, corners included.
    for (const QPoint corner : {QPoint(4, 5), QPoint(46, 5), QPoint(4, 47), QPoint(46, 47), QPoint(25, 26)})
        EXPECT_EQ(qAlpha(placeholder.pixel(corner * 2 + QPoint(1, 1))), 255) << corner.x() << "," << corner.y();
}

struct LogCapture {
    static inline QStringList lines;
    static void handler(QtMsgType, const QMessageLogContext&, const QString& message) { lines << message; }
    QtMessageHandler previous = qInstallMessageHandler(&handler);
    ~LogCapture() { qInstallMessageHandler(previous); }
};

TEST(RKImages, UnknownNameGivesANullImageAndOneLogLine)
{
    LogCapture log;
    EXPECT_TRUE(RKImages::imageNamed("NoSuchPicture").isNull());
    EXPECT_TRUE(RKImages::imageNamed("NoSuchPicture").isNull());
    EXPECT_TRUE(RKImages::imageNamed("").isNull());
    ASSERT_EQ(LogCapture::lines.size(), 2) << LogCapture::lines.join('\n').toStdString();
    EXPECT_TRUE(LogCapture::lines.first().contains("NoSuchPicture"));
}

TEST(RKImages, ScaledIntoFillsTheNewSizeAtTheGivenOpacity)
{
    // Left half red, right half blue, fully opaque, at ratio 1.
    QImage source(64, 32, QImage::Format_ARGB32_Premultiplied);
    source.fill(Qt::red);
    QPainter(&source).fillRect(32, 0, 32, 32, Qt::blue);

    const RKImage scaled = RKImages::imageScaledInto(RKImage(source), QSizeF(16, 16));
    EXPECT_EQ(scaled.size(), QSizeF(16, 16));
    const QImage full = scaled.imageForDevicePixelRatio(2);
    EXPECT_EQ(full.size(), QSize(32, 32));
    EXPECT_EQ(full.pixelColor(4, 16).rgba(), qRgba(255, 0, 0, 255)); // stretched to fill, aspect ignored
    EXPECT_EQ(full.pixelColor(28, 16).rgba(), qRgba(0, 0, 255, 255));
    EXPECT_EQ(qAlpha(full.pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(full.pixel(31, 31)), 255);

    const QImage faded = RKImages::imageScaledInto(RKImage(source), QSizeF(33, 33), 0.5).imageForDevicePixelRatio(2);
    EXPECT_EQ(faded.size(), QSize(66, 66));
    EXPECT_NEAR(qAlpha(faded.pixel(10, 33)), 128, 2);
    EXPECT_NEAR(faded.pixelColor(10, 33).redF(), 1.0, 0.02); // colour kept, only fainter

    // A named picture keeps its own opacity profile when scaled, at any ratio.
    for (const qreal ratio : {1.0, 3.0}) {
        const QImage icon = RKImages::imageScaledInto(RKImages::imageNamed("NothingFound"), QSizeF(33, 33), 0.5).imageForDevicePixelRatio(ratio);
        EXPECT_EQ(icon.size(), QSize(33, 33) * ratio);
        EXPECT_NEAR(ink(icon).alpha(), 128, 2);
    }

    const RKImage fromNothing = RKImages::imageScaledInto(RKImage(), QSizeF(16, 16));
    EXPECT_EQ(fromNothing.size(), QSizeF(16, 16));
    EXPECT_EQ(ink(fromNothing.imageForDevicePixelRatio(1)).alpha(), 0);
}

} // namespace
