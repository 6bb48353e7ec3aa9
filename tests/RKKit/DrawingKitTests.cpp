// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing kit painted into real images: palette, gradients, the capsule path, labels that
// shorten themselves, and the picture and string-picture helpers.
#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/NSAttributedStringExtensions.h"
#include "RKKit/RKExtensions/NSImageExtensions.h"
#include "RKKit/RKGradient.h"
#include "RKKit/RKRoundRect.h"
#include "RKKit/RKTableString.h"
#include "RKKit/RKText.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainterPath>
#include <QPalette>

#include <optional>

namespace {

QImage canvas(QSize size, qreal ratio, QColor fill = Qt::white)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

QRgb rgbOf(const QColor& color)
{
    return color.rgb();
}

// The device-pixel columns in which any pixel differs from the background.
struct InkSpan {
    int first = -1, last = -1;
    bool empty() const { return first < 0; }
};
InkSpan inkColumns(const QImage& image, QRgb background = qRgb(255, 255, 255))
{
    InkSpan span;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != background) {
                if (span.first < 0)
                    span.first = x;
                span.last = x;
                break;
            }
        }
    }
    return span;
}

// ---- Palette -------------------------------------------------------------------------------

TEST(RKColor, IndexesMapToTheSharedBackgroundsAndBackByIdentityOnly)
{
    EXPECT_EQ(RKColor::colorForIndex(0), &RKColor::whiteColor());
    EXPECT_EQ(RKColor::colorForIndex(1), &RKColor::lightBlueColor());
    EXPECT_EQ(RKColor::colorForIndex(2), &RKColor::alternateSelectedControlColor());
    EXPECT_EQ(RKColor::colorForIndex(3), &RKColor::secondarySelectedControlColor());
    EXPECT_EQ(RKColor::colorForIndex(4), nullptr);
    EXPECT_EQ(RKColor::colorForIndex(-1), nullptr);

    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(RKColor::indexForColor(*RKColor::colorForIndex(index)), index);
    const QColor sameValue = RKColor::lightBlueColor();
    EXPECT_EQ(sameValue, RKColor::lightBlueColor());
    EXPECT_EQ(RKColor::indexForColor(sameValue), 0) << "a copy is not the shared colour";

    EXPECT_EQ(rgbOf(RKColor::lightBlueColor()), qRgb(237, 243, 254));
    EXPECT_EQ(rgbOf(RKColor::grayColor70()), qRgb(179, 179, 179));
    EXPECT_EQ(rgbOf(RKColor::grayColor80()), qRgb(204, 204, 204));
    // The theme colours come from the application palette's highlight, read once.
    EXPECT_EQ(rgbOf(RKColor::alternateSelectedControlColor()), QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight).rgb());
    const QColor blended = RKColor::whiteColorBlendedWithAlternate();
    EXPECT_NEAR(blended.redF(), 0.7 + 0.3 * RKColor::alternateSelectedControlColor().redF(), 1e-3);
}

// ---- Gradients -----------------------------------------------------------------------------

// The colour of each line (one point tall) of a gradient drawn into (0, 0, 30, height).
std::vector<QRgb> gradientLines(const RKGradient& gradient, qreal height, qreal ratio, int lines)
{
    QImage image = canvas(QSize(30, lines + 2), ratio, Qt::magenta);
    {
        QPainter painter(&image);
        gradient.drawGradientInRect(painter, QRectF(7, 0, 20, height));
    }
    std::vector<QRgb> colours;
    for (int line = 0; line < lines + 1; ++line) {
        const QRgb top = image.pixel(0, int(line * ratio));
        EXPECT_EQ(image.pixel(int(20 * ratio) - 1, int((line + 1) * ratio) - 1), top) << "line " << line << " is not one colour";
        colours.push_back(top);
    }
    return colours;
}

TEST(RKGradient, SelectedRowTakesEveryFourthEntryBetweenItsTopAndBottomLines)
{
    const RKGradient& gradient = RKGradient::selectedGradient();
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const auto lines = gradientLines(gradient, 23, ratio, 23);
        EXPECT_EQ(lines[0], qRgb(32, 123, 218)) << "the top line is c";
        const int entries[] = {0, 4, 8, 13, 17, 21, 26, 30, 34, 39, 43, 47, 52, 56, 60, 65, 69, 73, 78, 82, 86, 91, 95};
        for (int k = 1; k < 23; ++k)
            EXPECT_EQ(lines[std::size_t(k)], gradient.color[std::size_t(entries[k])].rgb()) << "line " << k;
        EXPECT_EQ(lines[23], qRgb(255, 0, 255)) << "nothing below the rectangle";
    }
    // Lines start at x = 0 and are the rectangle's width wide, whatever its x.
    QImage image = canvas(QSize(30, 3), 1, Qt::magenta);
    QPainter painter(&image);
    gradient.drawGradientInRect(painter, QRectF(7, 0, 20, 3));
    painter.end();
    EXPECT_EQ(image.pixel(0, 1), gradient.color[33].rgb());
    EXPECT_EQ(image.pixel(19, 1), gradient.color[33].rgb());
    EXPECT_EQ(image.pixel(20, 1), qRgb(255, 0, 255));
}

TEST(RKGradient, TitleRowEndsInItsDarkBottomLine)
{
    const RKGradient& metal = RKGradient::metalHeaderGradient();
    const auto lines = gradientLines(metal, 16, 1, 16);
    EXPECT_EQ(lines[0], metal.color[0].rgb());
    EXPECT_EQ(lines[14], metal.color[87].rgb());
    EXPECT_EQ(lines[15], qRgb(102, 102, 102));
    // Entry 99 is one hundredth short of b.
    EXPECT_NE(metal.color[99].rgb(), metal.b.rgb());
}

TEST(RKGradient, OneLineGradientsAndFractionalHeights)
{
    // Height 1: c wins over d, d over the ramp.
    EXPECT_EQ(gradientLines(RKGradient::selectedGradient(), 1, 1, 1)[0], qRgb(32, 123, 218));
    EXPECT_EQ(gradientLines(RKGradient::selectedGrayGradient(), 1, 1, 1)[0], qRgb(127, 126, 126));
    EXPECT_EQ(gradientLines(RKGradient::metalHeaderGradient(), 1, 1, 1)[0], qRgb(102, 102, 102));
    // 17.5 points draw 18 lines, the last reaching below the rectangle.
    const auto lines = gradientLines(RKGradient::metalHeaderGradient(), 17.5, 2, 18);
    EXPECT_EQ(lines[17], qRgb(102, 102, 102));
    EXPECT_EQ(lines[18], qRgb(255, 0, 255));
    // An empty rectangle paints nothing.
    EXPECT_EQ(gradientLines(RKGradient::metalHeaderGradient(), 0, 1, 1)[0], qRgb(255, 0, 255));
}

TEST(RKGradient, SharedGradientsAreBuiltOnce)
{
    const RKGradient* first = &RKGradient::selectedGradient();
    RKGradient::metalHeaderGradient();
    RKGradient::selectedGrayGradient();
    const int built = RKGradient::buildCount();
    EXPECT_EQ(&RKGradient::selectedGradient(), first);
    RKGradient::metalHeaderGradient();
    EXPECT_EQ(RKGradient::buildCount(), built);
}

// ---- Capsule -------------------------------------------------------------------------------

TEST(RKRoundRect, CapsuleOfAHundredByTwenty)
{
    const QPainterPath path = RKRoundRect::roundRectangleInRect(QRectF(0, 0, 100, 20));
    const float k = 5.5f;
    const std::vector<QPointF> expected = {
        {10, 20},                                 // start, bottom left
        {10 - k, 20}, {0, 10 + k}, {0, 10},       // left end, lower half
        {0, 10 - k}, {10 - k, 0}, {10, 0},        // left end, upper half
        {90, 0},                                  // top edge
        {90 + k, 0}, {100, 10 - k}, {100, 10},    // right end, upper half
        {100, 10 + k}, {90 + k, 20}, {90, 20},    // right end, lower half
        {10, 20},                                 // bottom edge back to the start
    };
    ASSERT_EQ(path.elementCount(), int(expected.size()));
    for (int i = 0; i < path.elementCount(); ++i) {
        EXPECT_NEAR(path.elementAt(i).x, expected[std::size_t(i)].x(), 1e-5) << "element " << i;
        EXPECT_NEAR(path.elementAt(i).y, expected[std::size_t(i)].y(), 1e-5) << "element " << i;
    }
    EXPECT_TRUE(path.elementAt(7).isLineTo());
    EXPECT_TRUE(path.elementAt(14).isLineTo());

    // The radius follows the height, whatever the width: a narrow capsule runs backwards.
    const QPainterPath narrow = RKRoundRect::roundRectangleInRect(QRectF(0, 0, 10, 20));
    EXPECT_EQ(narrow.elementAt(7).x, 0.0);
}

// ---- Confined strings ----------------------------------------------------------------------

TEST(RKConfinedString, TruncationRuleOnSixGlyphsOfTenAndAnEllipsisOfEight)
{
    using T = RKConfinedString::Truncation;
    const std::vector<float> metrics = {10, 10, 10, 10, 10, 10, 8};
    struct Case {
        float width;
        bool centered;
        T expected;
    } cases[] = {
        {70, true, {6, 5, false, 0}},   // fits: centred
        {70, false, {6, 0, false, 0}},  // fits: from the left edge
        {61, false, {6, 0, false, 0}},
        {60, true, {5, 0, true, 50}},   // exactly as wide: shortened, centring ignored
        {20, false, {1, 0, true, 10}},
        {18, false, {1, 0, true, 10}},  // 10 + 8 fit exactly
        {9, false, {0, 0, true, 0}},    // only the ellipsis fits
        {8, false, {0, 0, false, 0}},   // no wider than the ellipsis: nothing
        {5, false, {0, 0, false, 0}},
        {-4, false, {0, 0, false, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RKConfinedString::truncationForWidth(metrics, 60, c.width, c.centered), c.expected) << "width " << c.width;

    // The empty text is the ellipsis alone: it draws nothing in any positive width.
    EXPECT_EQ(RKConfinedString::truncationForWidth({8}, 0, 30, true), (T{0, 15, false, 0}));
    EXPECT_EQ(RKConfinedString::truncationForWidth({8}, 0, 0, false), (T{0, 0, false, 0}));
}

TEST(RKConfinedString, MeasuresOnceFromTheLaidOutLine)
{
    RKConfinedString label(QStringLiteral("Massive"), RKText::textAttributes12());
    const int layouts = RKConfinedString::layoutCount();
    ASSERT_EQ(label.nglyphs(), 8); // seven letters and the ellipsis
    const std::vector<float>& metrics = label.metrics();
    float sum = 0;
    for (int i = 0; i < 7; ++i) {
        EXPECT_GT(metrics[std::size_t(i)], 2.0f);
        sum += metrics[std::size_t(i)];
    }
    EXPECT_FLOAT_EQ(label.totalWidth(), sum);
    EXPECT_NEAR(label.totalWidth(), QFontMetricsF(RKText::textAttributes12().font).horizontalAdvance("Massive"), 0.5);
    EXPECT_GT(metrics.back(), 4.0f) << "the ellipsis has a width";

    QImage image = canvas(QSize(200, 20), 1);
    QPainter painter(&image);
    for (int i = 0; i < 1000; ++i)
        label.drawInRectCentered(painter, QRectF(0, 0, i % 2 ? 200 : 30, 20), i % 3 == 0);
    EXPECT_EQ(RKConfinedString::layoutCount(), layouts + 1) << "laid out once, at the first measurement";

    RKConfinedString empty(QString(), RKText::textAttributes12());
    EXPECT_EQ(empty.nglyphs(), 1);
    EXPECT_EQ(empty.totalWidth(), 0.0f);
}

// A label drawn at (left, 4) in the given width, on white, at the ratio.
QImage drawnLabel(RKConfinedString& label, qreal left, qreal width, bool centered, qreal ratio, int canvasWidth = 260)
{
    QImage image = canvas(QSize(canvasWidth, 22), ratio);
    QPainter painter(&image);
    label.drawInRectCentered(painter, QRectF(left, 4, width, 100), centered);
    return image;
}

TEST(RKConfinedString, ShortenedLabelsKeepTheirMeasuredGlyphsAndStayInTheirRectangle)
{
    // Left to right, right to left (Hebrew, Arabic): whatever is kept is drawn with the glyphs
    // and positions of the full line, the ellipsis on the side where the text ends, and no ink
    // ever falls outside the rectangle.
    const QString texts[] = {
        QStringLiteral("Godspeed You! Black Emperor"),
        QString::fromUtf8("\u05D4\u05D1\u05D9\u05D8\u05DC\u05E1 \u05E9\u05DC \u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DD"),
        QString::fromUtf8("\u0641\u064A\u0631\u0648\u0632 \u0648\u0627\u0644\u0631\u062D\u0628\u0627\u0646\u064A"),
        QStringLiteral("WWWWWWWWWWWWWW"),
    };
    const qreal left = 20;
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        RKConfinedString label(text, RKText::textAttributes12());
        const float total = label.totalWidth();
        const float e = label.metrics().back();
        const bool rtl = text.isRightToLeft();
        const QImage whole = drawnLabel(label, left, 240, false, 2);
        for (const qreal ratio : {1.0, 2.0}) {
            for (float width = e + 1; width < total + 12; width += 7) {
                SCOPED_TRACE(width);
                const QImage image = drawnLabel(label, left, width, false, ratio);
                const InkSpan ink = inkColumns(image);
                ASSERT_FALSE(ink.empty());
                EXPECT_GE(ink.first, int(left * ratio)) << "ink left of the rectangle";
                EXPECT_LT(ink.last, int(std::ceil((left + width) * ratio))) << "ink right of the rectangle";
                if (width > total || ratio != 2)
                    continue;
                // Shortened: the kept glyphs are the full line's, shifted by a whole amount.
                const auto t = RKConfinedString::truncationForWidth(label.metrics(), total, width, false);
                const float g = t.ellipsisOffset;
                const int keptFrom = int(std::ceil((left + (rtl ? e : 0)) * ratio)) + 2;
                const int keptTo = std::min(int((left + (rtl ? e : 0) + g) * ratio) - 2, image.width());
                const float shift = rtl ? e - (total - g) : 0;
                const QImage reference = drawnLabel(label, left + shift, 240, false, 2);
                int differing = 0;
                for (int x = keptFrom; x < keptTo; ++x) {
                    for (int y = 0; y < image.height(); ++y)
                        differing += image.pixel(x, y) != reference.pixel(x, y);
                }
                EXPECT_EQ(differing, 0) << "kept glyphs differ from the full line";
                (void)whole;
            }
        }
    }
}

TEST(RKConfinedString, CentredWhenItFitsAndNothingInARectangleNoWiderThanTheEllipsis)
{
    RKConfinedString label(QStringLiteral("Air"), RKText::textAttributes12());
    const float total = label.totalWidth();
    const InkSpan fromLeft = inkColumns(drawnLabel(label, 10, 100, false, 1));
    const InkSpan centred = inkColumns(drawnLabel(label, 10, 100, true, 1));
    EXPECT_NEAR(centred.first - fromLeft.first, (100 - total) / 2, 1.0);
    // T = W: shortened, from the left, centring ignored.
    const InkSpan exact = inkColumns(drawnLabel(label, 10, total, true, 1));
    EXPECT_LE(exact.first, fromLeft.first + 1);

    const float e = label.metrics().back();
    for (const float width : {e, e / 2, 0.0f, -5.0f})
        EXPECT_TRUE(inkColumns(drawnLabel(label, 10, width, false, 2)).empty()) << width;
    RKConfinedString empty(QString(), RKText::textAttributes12());
    EXPECT_TRUE(inkColumns(drawnLabel(empty, 10, 100, true, 1)).empty());
}

TEST(RKTableString, WhiteCopyIsMadeOnceAndFollowsTheAlternateColour)
{
    RKTableString label(QStringLiteral("Portishead"), RKText::textAttributesGray12());
    EXPECT_EQ(label.alternateColor(), RKColor::whiteColor());
    RKTableString& white = label.alternateString();
    EXPECT_EQ(&label.alternateString(), &white);
    EXPECT_EQ(white.attributedString().attributes.foregroundColor, RKColor::whiteColor());
    EXPECT_EQ(white.attributedString().attributes.font, RKText::textAttributesGray12().font);
    EXPECT_EQ(white.string(), label.string());

    label.setAlternateColor(RKColor::whiteColor());
    EXPECT_EQ(&label.alternateString(), &white) << "the same colour keeps the copy";
    label.setAlternateColor(RKColor::grayColor70());
    EXPECT_EQ(label.alternateString().attributedString().attributes.foregroundColor, RKColor::grayColor70());

    // Drawn white on black, in the label's own font.
    QImage image = canvas(QSize(120, 22), 1, Qt::black);
    QPainter painter(&image);
    label.setAlternateColor(RKColor::whiteColor());
    label.alternateString().drawInRect(painter, QRectF(2, 2, 116, 20));
    painter.end();
    int brightest = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            brightest = std::max(brightest, qGray(image.pixel(x, y)));
    EXPECT_EQ(brightest, 255);
}

TEST(RKTableString, LabelCacheSharesByTextAndEmptiesPastThreeHundred)
{
    EXPECT_EQ(RKTableString::cachedTableString(nullptr, RKText::textAttributes12()), nullptr);
    const QString text = QStringLiteral("Björk");
    const auto first = RKTableString::cachedTableString(&text, RKText::textAttributes12());
    const auto again = RKTableString::cachedTableString(&text, RKText::textAttributesBold12());
    EXPECT_EQ(first, again);
    EXPECT_EQ(again->attributedString().attributes, RKText::textAttributes12()) << "the first attributes stay";
    for (int i = 0; i < 301; ++i) {
        const QString other = QString::number(i);
        RKTableString::cachedTableString(&other, RKText::textAttributes10());
    }
    EXPECT_NE(RKTableString::cachedTableString(&text, RKText::textAttributes12()), first) << "the cache was emptied";
}

TEST(RKText, SetsUseTheGeneralFontAtPixelSizes)
{
    struct Case {
        const RKTextAttributes& attributes;
        int size;
        bool bold, gray;
    } cases[] = {
        {RKText::textAttributes10(), 10, false, false},        {RKText::textAttributes11(), 11, false, false},
        {RKText::textAttributes12(), 12, false, false},        {RKText::textAttributes13(), 13, false, false},
        {RKText::textAttributesGray10(), 10, false, true},     {RKText::textAttributesGray11(), 11, false, true},
        {RKText::textAttributesGray12(), 12, false, true},     {RKText::textAttributesBold12(), 12, true, false},
        {RKText::verySmallTextAttributes(), 10, false, false}, {RKText::verySmallGrayTextAttributes(), 10, false, true},
        {RKText::verySmallBoldGrayTextAttributes(), 10, true, true}, {RKText::smallTextAttributes(), 11, false, false},
        {RKText::smallBoldTextAttributes(), 11, true, false},  {RKText::normalTextAttributes(), 12, false, false},
        {RKText::normalGrayTextAttributes(), 11, false, true},
    };
    const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const Case& c : cases) {
        EXPECT_EQ(c.attributes.font.pixelSize(), c.size);
        EXPECT_EQ(c.attributes.font.bold(), c.bold);
        EXPECT_EQ(c.attributes.font.family(), family);
        EXPECT_EQ(c.attributes.foregroundColor.rgb(), c.gray ? qRgb(128, 128, 128) : qRgb(0, 0, 0));
    }
    const RKAttributedString text{QStringLiteral("x"), RKText::textAttributes12()};
    EXPECT_NEAR(AttributedStringExtensions::whiteAttributedStringWithAlpha(text, 0.5f).attributes.foregroundColor.alphaF(), 0.5f, 1e-4);
    EXPECT_EQ(AttributedStringExtensions::whiteAttributedString(text).attributes.font, text.attributes.font);
}

// ---- Picture and string-picture helpers ----------------------------------------------------

TEST(ImageExtensions, SmallestRepresentationIsTheFirstNarrowest)
{
    RKImage picture(QSizeF(32, 32), [](QPainter&, const QSizeF&) {});
    EXPECT_FALSE(ImageExtensions::smallestRepresentation(picture).has_value());
    EXPECT_FALSE(ImageExtensions::smallestRepresentation(RKImage()).has_value());
    QImage wide(64, 64, QImage::Format_ARGB32_Premultiplied), first(32, 32, QImage::Format_ARGB32_Premultiplied),
        second(32, 32, QImage::Format_ARGB32_Premultiplied);
    first.fill(Qt::red);
    second.fill(Qt::blue);
    picture.addRepresentation(wide);
    picture.addRepresentation(first);
    picture.addRepresentation(second);
    ASSERT_TRUE(ImageExtensions::smallestRepresentation(picture).has_value());
    EXPECT_EQ(ImageExtensions::smallestRepresentation(picture)->pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(ImageExtensions::firstRepresentation(picture)->width(), 64);
    EXPECT_EQ(ImageExtensions::rect(picture), QRectF(0, 0, 32, 32));
}

TEST(ImageExtensions, WhiteSilhouetteKeepsEveryPixelsOpacity)
{
    QImage shape(4, 1, QImage::Format_ARGB32);
    shape.setPixel(0, 0, qRgba(0, 0, 0, 0));
    shape.setPixel(1, 0, qRgba(0, 0, 0, 255));
    shape.setPixel(2, 0, qRgba(200, 0, 0, 128));
    shape.setPixel(3, 0, qRgba(0, 90, 0, 255));
    const QImage white = ImageExtensions::whiteSilhouette(RKImage(shape)).imageForDevicePixelRatio(1).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(white.pixel(0, 0)), 0);
    EXPECT_EQ(white.pixel(1, 0), qRgba(255, 255, 255, 255));
    EXPECT_NEAR(qAlpha(white.pixel(2, 0)), 128, 1);
    EXPECT_EQ(qRed(white.pixel(2, 0)), 255);
    EXPECT_EQ(white.pixel(3, 0), qRgba(255, 255, 255, 255));
}

TEST(ImageExtensions, StringPicturesAndSelectionColouredText)
{
    const RKImage empty = ImageExtensions::imageWithAttributes(QString(), RKText::textAttributes12());
    EXPECT_EQ(empty.size().width(), 0);
    const RKImage word = ImageExtensions::imageWithAttributes(QStringLiteral("Blur"), RKText::textAttributes12());
    EXPECT_NEAR(word.size().width(), QFontMetricsF(RKText::textAttributes12().font).horizontalAdvance("Blur"), 1);
    EXPECT_FALSE(inkColumns(word.imageForDevicePixelRatio(2), qRgba(0, 0, 0, 0)).empty());

    // Text on the focused selection colour, drawn white; on any other index in its own colour.
    const auto grays = [](const QImage& image) {
        std::pair<int, int> range{255, 0}; // darkest, brightest
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                range.first = std::min(range.first, qGray(image.pixel(x, y)));
                range.second = std::max(range.second, qGray(image.pixel(x, y)));
            }
        }
        return range;
    };
    const auto darkest = [&grays](const QImage& image) { return grays(image).first; };
    const auto brightest = [&grays](const QImage& image) { return grays(image).second; };
    for (const int index : {2, 3}) {
        QImage image = canvas(QSize(60, 20), 1, QColor(0, 0, 128));
        QPainter painter(&image);
        ImageExtensions::drawAtPointWithAttributesBackgroundColorIndexWhiteAlpha(painter, QStringLiteral("Blur"), QPointF(2, 2),
                                                                                RKText::textAttributes12(), index, 1.0f);
        painter.end();
        if (index == 2)
            EXPECT_EQ(brightest(image), 255);
        else
            EXPECT_EQ(darkest(image), 0) << "index 3 keeps the text's own colour";
    }
    QImage image = canvas(QSize(60, 20), 1, QColor(0, 0, 128));
    QPainter painter(&image);
    ImageExtensions::drawAtPointWithAttributesBackgroundColor(painter, QStringLiteral("Blur"), QPointF(2, 2),
                                                              RKText::textAttributes12(), RKColor::alternateSelectedControlColor());
    painter.end();
    EXPECT_EQ(brightest(image), 255);
}

} // namespace
