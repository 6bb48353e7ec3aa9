// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/URLQueryNode.h"

#include "Platform/URLConnection.h"
#include "RKKit/RKExtensions/NSStringExtensions.h"
#include "RKKit/RKColor.h"
#include "RKKit/RKImages.h"
#include "RKKit/RKRoundRect.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPainter>

void URLQueryNode::init()
{
    Node::init();
    setPrimary(linkText());
    setImage(nodeImage());
}

QString URLQueryNode::addressText() const
{
    const auto parent = parentNode();
    const QString name = parent ? parent->primaryString() : QString();
    // The whole name is encoded, so "Simon & Garfunkel" or "Björk" search for all of it.
    QString address = formatString();
    address.replace(QStringLiteral("%@"), StringExtensions::stringByEscapingURLComponent(name));
    return address;
}

QString URLQueryNode::accessibleText() const
{
    const auto parent = parentNode();
    const QString artist = parent ? parent->primaryString() : QString();
    return QCoreApplication::translate("URLQueryNode", "%1 for %2").arg(primaryString(), artist);
}

void URLQueryNode::nodeAction()
{
    const QUrl url = URLWithString(addressText());
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void URLQueryNode::redraw()
{
    redrawInBrowser();
}

void URLQueryNode::mouseEnteredCurrentFrame(const QMouseEvent*, const QRectF&)
{
    shouldDrawAlternateText = true;
    isMouseOver = true;
    redraw();
}

void URLQueryNode::mouseExitedCurrentFrame(const QMouseEvent*, const QRectF&)
{
    shouldDrawAlternateText = false;
    isMouseOver = false;
    redraw();
}

void URLQueryNode::mouseMovedCurrentFrame(const QMouseEvent*, const QRectF&) {}

bool URLQueryNode::nodeMouseDown(const QMouseEvent*)
{
    isMouseDown = true;
    redraw();
    return true;
}

bool URLQueryNode::nodeMouseUp(const QMouseEvent*)
{
    isMouseDown = false;
    redraw();
    nodeAction();
    return true;
}

void URLQueryNode::drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget* view)
{
    if (isMouseOver) {
        const qreal lightGray = 2.0 / 3.0;
        const QColor capsule = isMouseDown ? RKColor::grayColor() : QColor::fromRgbF(lightGray, lightGray, lightGray);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(RKRoundRect::roundRectangleInRect(frame.adjusted(2, 2, -2, -2)), capsule);
        painter.restore();
    }
    Node::drawWithFrameInView(painter, QRectF(frame.x() + 7, frame.y(), frame.width() - 10, frame.height()), view);
}

float URLQueryNode::drawRightDecorationInFrame(QPainter& painter, const QRectF& frame)
{
    const RKImage link = isMouseOver ? linkWhiteImage() : linkGrayImage();
    link.drawAtPoint(painter, QPointF(frame.x() + frame.width() - 17, frame.y() + 3), QPainter::CompositionMode_SourceAtop);
    return 20;
}

RKImage URLQueryNode::linkWhiteImage()
{
    return RKImages::imageNamed(QStringLiteral("LinkWhite"));
}

RKImage URLQueryNode::linkGrayImage()
{
    return RKImages::imageNamed(QStringLiteral("Link"));
}

QString GoogleNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search Google"); }
QString GoogleNode::formatString() const { return QStringLiteral("http://www.google.com/search?q=%@"); }

QString GoogleImagesNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search Google Images"); }
QString GoogleImagesNode::formatString() const { return QStringLiteral("http://images.google.com/images?q=%@"); }

QString GoogleNewsNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search Google News"); }
QString GoogleNewsNode::formatString() const { return QStringLiteral("http://news.google.com/news?hl=en&edition=us&q=%@"); }

QString AmazonNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search Amazon.com"); }
QString AmazonNode::formatString() const
{
    return QStringLiteral("http://www.amazon.com/exec/obidos/external-search?tag=quorvix&mode=blended&index=music&keyword=%@");
}

QString Everything2Node::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search Everything2"); }
QString Everything2Node::formatString() const { return QStringLiteral("http://everything2.com/index.pl?node=%@"); }

QString RollingStoneNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search Rolling Stone"); }
QString RollingStoneNode::formatString() const
{
    return QStringLiteral("http://www.rollingstone.com/bin/search/?st=music&query=%@&1.x=0&1.y=0");
}

QString iTunesMusicStoreNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search iTunes Music Store"); }
QString iTunesMusicStoreNode::formatString() const
{
    return QStringLiteral("itms://phobos.apple.com/WebObjects/MZSearch.woa/wa/com.apple.jingle.search.DirectAction/search?term=%@&type=artistName");
}
RKImage iTunesMusicStoreNode::nodeImage() const
{
    static const RKImage image = RKImages::imageScaledInto(RKImages::imageNamed(QStringLiteral("itunes")), QSizeF(16, 16));
    return image;
}

QString AcquisitionNode::linkText() const { return QCoreApplication::translate("URLQueryNode", "Search with Acquisition"); }
QString AcquisitionNode::formatString() const { return QStringLiteral("acquisitionsearch://%@"); }
RKImage AcquisitionNode::nodeImage() const
{
    static const RKImage image = RKImages::imageScaledInto(RKImages::imageNamed(QStringLiteral("Acquisition")), QSizeF(16, 16));
    return image;
}
