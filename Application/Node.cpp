#include "Application/Node.h"

#include "Application/Browser/BrowserView.h"
#include "RKKit/RKImages.h"
#include "RKKit/RKTableString.h"
#include "RKKit/RKText.h"


#include <algorithm>

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

void Node::mouseEnteredCurrentFrame(const QMouseEvent*, const QRectF&) {}
void Node::mouseExitedCurrentFrame(const QMouseEvent*, const QRectF&) {}
void Node::mouseMovedCurrentFrame(const QMouseEvent*, const QRectF&) {}
bool Node::nodeMouseDown(const QMouseEvent*) { return false; }
bool Node::nodeMouseUp(const QMouseEvent*) { return false; }

void Node::setPrimary(const QString& text) { m_primary = std::make_unique<RKTableString>(text, primaryAttributes()); }
void Node::setSecondary(const QString& text) { m_secondary = std::make_unique<RKTableString>(text, secondaryAttributes()); }
void Node::setTertiary(const QString& text) { m_tertiary = std::make_unique<RKTableString>(text, tertiaryAttributes()); }

void Node::setImage(const QImage& image)
{
    // Qt draws y-down like the browser, so pictures need no flipping.
    m_image = image;
}

const RKTextAttributes& Node::primaryAttributes() const { return RKText::textAttributes12(); }
const RKTextAttributes& Node::secondaryAttributes() const { return RKText::textAttributes10(); }
const RKTextAttributes& Node::tertiaryAttributes() const { return RKText::textAttributes10(); }

const RKTextAttributes& TitleNode::primaryAttributes() const { return RKText::textAttributes11(); }

void TitleContainerNode::init()
{
    Node::init();
    addNode(Node::node<TitleNode>());
}

void NothingFoundNode::init()
{
    Node::init();
    setPrimary(QStringLiteral("No Similar Artists Found"));
    setSecondary(QStringLiteral("Perhaps try a different name."));
    setImage(nodeImage());
}

const RKTextAttributes& NothingFoundNode::primaryAttributes() const { return RKText::textAttributesGray12(); }
const RKTextAttributes& NothingFoundNode::secondaryAttributes() const { return RKText::textAttributesGray10(); }

QImage NothingFoundNode::nodeImage()
{
    static const QImage image = RKImages::imageScaledInto(RKImages::imageNamed(QStringLiteral("NothingFound")), QSizeF(33, 33), 0.5);
    return image;
}
