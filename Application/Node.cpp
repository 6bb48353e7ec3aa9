// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/Node.h"

#include "Application/Browser/BrowserView.h"
#include "Application/MainNode.h"
#include "RKKit/RKColor.h"
#include "RKKit/RKGradient.h"
#include "RKKit/RKImages.h"
#include "RKKit/RKTableString.h"
#include "RKKit/RKText.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

Node::Node() = default;
Node::~Node() = default;

void Node::postInit()
{
    addHeaderNodes();
}

BrowserView* Node::browserView() const
{
    for (const Node* node = this; node;) {
        if (node->m_browserView)
            return node->m_browserView;
        const auto parent = node->m_parentNode.lock();
        node = parent.get(); // the chain is held by the child lists above us
    }
    return nullptr;
}

namespace {
QString stringOf(const std::unique_ptr<RKTableString>& label)
{
    return label ? label->string() : QString();
}
} // namespace

QString Node::primaryString() const { return stringOf(m_primary); }
QString Node::secondaryString() const { return stringOf(m_secondary); }
QString Node::tertiaryString() const { return stringOf(m_tertiary); }

void Node::addNode(const std::shared_ptr<Node>& node)
{
    if (!node)
        return;
    node->m_parentNode = weak_from_this();
    m_nodes.push_back(node);
}

void Node::removeNode(const Node* node)
{
    std::erase_if(m_nodes, [node](const std::shared_ptr<Node>& child) { return child.get() == node; });
}

void Node::removeAllNodes()
{
    // Keep the old rows alive until the list is rebuilt: a row may be what called us.
    NodeList old;
    old.swap(m_nodes);
    addHeaderNodes();
}

QString Node::accessibleText() const
{
    QStringList parts;
    for (const RKTableString* label : {primary(), secondary(), tertiary()}) {
        if (label && !label->string().trimmed().isEmpty())
            parts.append(label->string().trimmed());
    }
    return parts.join(QStringLiteral(", "));
}

void Node::updateBrowserTables() const
{
    if (BrowserView* browser = browserView())
        browser->updateTables();
}

void Node::redrawInBrowser() const
{
    if (BrowserView* browser = browserView())
        browser->redrawNode(this);
}

void Node::setRootNodeInBrowserColumn(const std::shared_ptr<Node>& node, int column) const
{
    if (BrowserView* browser = browserView())
        browser->setRootNodeInColumn(node, column);
}

void Node::selectRowInBrowserColumn(int row, int column) const
{
    if (BrowserView* browser = browserView())
        browser->selectRowInColumn(row, column);
}

void Node::addLookupInBrowser(const QString& name, bool select) const
{
    BrowserView* browser = browserView();
    if (const auto root = browser ? browser->rootNode() : nullptr)
        root->addNewLookupNodeWithStringAndSelect(name, select);
}

void Node::mouseEnteredCurrentFrame(const QMouseEvent*, const QRectF&) {}
void Node::mouseExitedCurrentFrame(const QMouseEvent*, const QRectF&) {}
void Node::mouseMovedCurrentFrame(const QMouseEvent*, const QRectF&) {}
bool Node::nodeMouseDown(const QMouseEvent*) { return false; }
bool Node::nodeMouseUp(const QMouseEvent*) { return false; }

void Node::setPrimary(const QString& text) { m_primary = std::make_unique<RKTableString>(text, primaryAttributes()); }
void Node::setSecondary(const QString& text) { m_secondary = std::make_unique<RKTableString>(text, secondaryAttributes()); }
void Node::setTertiary(const QString& text) { m_tertiary = std::make_unique<RKTableString>(text, tertiaryAttributes()); }

void Node::setImage(const RKImage& image)
{
    // Qt draws y-down like the browser, so pictures need no flipping.
    m_image = image;
}

float Node::rowHeight() const
{
    // A secondary label makes a two-line row, even an empty one.
    return m_secondary ? 33 : 23;
}

void Node::drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget*)
{
    const float left = drawLeftDecorationInFrame(painter, frame) + 6;
    const float right = drawRightDecorationInFrame(painter, frame) + 3;
    drawLabelInFrame(painter, m_primary.get(), frame, primaryOffset(), left, right);
    drawLabelInFrame(painter, m_secondary.get(), frame, secondaryOffset(), left, right);
    drawLabelInFrame(painter, m_tertiary.get(), frame, tertiaryOffset(), left, right);
}

void Node::drawLabelInFrame(QPainter& painter, RKTableString* label, const QRectF& frame, QSizeF offset,
                            float left, float right, bool centered)
{
    if (!label)
        return;
    const QRectF rect(frame.x() + left + offset.width(), frame.y() + offset.height(),
                      frame.width() - (left + right), frame.height());
    if (isDrawnSelected() || shouldDrawAlternateText) {
        label->setAlternateColor(RKColor::whiteColor());
        label = &label->alternateString();
    }
    label->drawInRectCentered(painter, rect, centered);
}

float Node::drawLeftDecorationInFrame(QPainter& painter, const QRectF& frame)
{
    if (m_image.isNull())
        return 0;
    const QSizeF offset = imageOffset();
    m_image.drawAtPoint(painter, frame.topLeft() + QPointF(offset.width(), offset.height()));
    return float(m_image.size().width());
}

float Node::drawRightDecorationInFrame(QPainter& painter, const QRectF& frame)
{
    if (m_nodes.empty() && !mightHaveSubnodes())
        return 0;
    const RKImage arrow = !isDrawnSelected() ? browserArrowImage()
        : isLoaded()                         ? browserArrowSelectedImage()
                                             : browserArrowSelectedPartialImage();
    // Centred on a 7-point arrow, on a whole point.
    const qreal top = std::trunc(frame.y() + (frame.height() - 7) / 2);
    arrow.drawAtPoint(painter, QPointF(frame.x() + frame.width() - 11, top), QPainter::CompositionMode_SourceAtop);
    return 15;
}

RKImage Node::browserArrowImage() { return RKImages::imageNamed(QStringLiteral("BrowserArrow")); }
RKImage Node::browserArrowSelectedImage() { return RKImages::imageNamed(QStringLiteral("BrowserArrowSelected")); }
RKImage Node::browserArrowSelectedPartialImage() { return RKImages::imageNamed(QStringLiteral("BrowserArrowPartial")); }

const RKTextAttributes& Node::primaryAttributes() const { return RKText::textAttributes12(); }
const RKTextAttributes& Node::secondaryAttributes() const { return RKText::textAttributes10(); }
const RKTextAttributes& Node::tertiaryAttributes() const { return RKText::textAttributes10(); }

const RKTextAttributes& TitleNode::primaryAttributes() const { return RKText::textAttributes11(); }

void TitleNode::drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget*)
{
    RKGradient::metalHeaderGradient().drawGradientInRect(painter, frame);
    // The label's rectangle is (x + 6, y + 1, w − 12, h).
    drawLabelInFrame(painter, primaryLabel(), frame, QSizeF(0, 1), 6, 6, true);
}

void SeparatorNode::drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget*)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(frame, RKColor::whiteColor());
    painter.fillRect(QRectF(frame.x() + 3, frame.y() + 3, frame.width() - 6, 2), RKColor::grayColor70());
    painter.setCompositionMode(mode);
}

void TitleContainerNode::init()
{
    Node::init();
    addNode(Node::node<TitleNode>());
}

void NothingFoundNode::init()
{
    Node::init();
    setPrimary(QCoreApplication::translate("NothingFoundNode", "No Similar Artists Found"));
    setSecondary(QCoreApplication::translate("NothingFoundNode", "Perhaps try a different name."));
    setImage(nodeImage());
}

const RKTextAttributes& NothingFoundNode::primaryAttributes() const { return RKText::textAttributesGray12(); }
const RKTextAttributes& NothingFoundNode::secondaryAttributes() const { return RKText::textAttributesGray10(); }

RKImage NothingFoundNode::nodeImage()
{
    static const RKImage image = RKImages::imageScaledInto(RKImages::imageNamed(QStringLiteral("NothingFound")), QSizeF(33, 33), 0.5);
    return image;
}
