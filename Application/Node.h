// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every row of the column browser is a Node: a model object owning an ordered list of child
// nodes, and the cell that draws its row. Kinds of rows are subclasses overriding a fixed set
// of hooks and class-level settings.

#include "RKKit/RKImages.h"
#include "RKKit/RKTableCell.h"

#include <QPointer>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

class BrowserView;
class QMouseEvent;
class QPainter;
class QWidget;
class RKTableString;
struct RKTextAttributes;

class Node : public RKTableCell, public std::enable_shared_from_this<Node> {
public:
    using NodeList = std::vector<std::shared_ptr<Node>>;

    Node();
    ~Node() override;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Factories: make a T, run its initialiser, set the labels given, then postInit (which adds
    // the header rows, so they may quote the labels). A kind may opt out of postInit in node().
    template <class T = Node>
    static std::shared_ptr<T> node()
    {
        auto n = make<T>();
        if constexpr (T::postInitInNodeFactory)
            n->postInit();
        return n;
    }
    template <class T = Node>
    static std::shared_ptr<T> nodeWithPrimary(const QString& primary)
    {
        auto n = make<T>();
        n->setPrimary(primary);
        n->postInit();
        return n;
    }
    template <class T = Node>
    static std::shared_ptr<T> nodeWithPrimarySecondary(const QString& primary, const QString& secondary)
    {
        auto n = make<T>();
        n->setPrimary(primary);
        n->setSecondary(secondary);
        n->postInit();
        return n;
    }
    // Plain creation and initialisation, without labels or postInit.
    template <class T = Node>
    static std::shared_ptr<T> make()
    {
        auto n = std::make_shared<T>();
        n->init();
        return n;
    }
    static constexpr bool postInitInNodeFactory = true;

    // The initialiser. Runs once the node is held by a std::shared_ptr, so it may register
    // itself for notifications; subclasses call their base's init() first.
    virtual void init() {}
    virtual void postInit();
    virtual void addHeaderNodes() {}

    virtual bool isLoaded() const { return m_isLoaded; }
    // This node's browser, else its parent's, and so on up; none for a detached node.
    BrowserView* browserView() const;
    std::shared_ptr<Node> parentNode() const { return m_parentNode.lock(); }

    const RKTableString* primary() const { return m_primary.get(); }
    const RKTableString* secondary() const { return m_secondary.get(); }
    const RKTableString* tertiary() const { return m_tertiary.get(); }
    // The plain texts of the labels; the empty text for an absent label.
    QString primaryString() const;
    QString secondaryString() const;
    QString tertiaryString() const;

    const NodeList& nodes() const { return m_nodes; }
    void addNode(const std::shared_ptr<Node>& node);
    // Removes every occurrence of that very node; its parentNode is left as it was.
    void removeNode(const Node* node);
    void removeAllNodes();

    // What a screen reader says for the row: its labels, joined.
    virtual QString accessibleText() const;

    virtual bool mightHaveSubnodes() const { return false; }
    virtual bool canSelectNode() const { return true; }
    virtual void nodeWasSelected() {}
    virtual void doubleClickedNode() {}
    virtual void mouseEnteredCurrentFrame(const QMouseEvent* event, const QRectF& frame);
    virtual void mouseExitedCurrentFrame(const QMouseEvent* event, const QRectF& frame);
    virtual void mouseMovedCurrentFrame(const QMouseEvent* event, const QRectF& frame);
    virtual bool nodeMouseDown(const QMouseEvent* event);
    virtual bool nodeMouseUp(const QMouseEvent* event);

    // Labels and picture. Each label is built anew with the attribute set of this node's kind.
    void setPrimary(const QString& text);
    void setSecondary(const QString& text);
    void setTertiary(const QString& text);
    void setImage(const RKImage& image);
    const RKImage& image() const { return m_image; }

    // Drawing. The table paints the row's background, sets rkColorIndex and hands down its
    // painter with the row's frame (x = 0, the table's width, rowHeight()); the view is the table.
    virtual float rowHeight() const;
    void drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget* view) override;
    // The picture at imageOffset(); answers the width it takes on the left (0 without one).
    virtual float drawLeftDecorationInFrame(QPainter& painter, const QRectF& frame);
    // The arrow of a row that has (or may have) children; answers the width it takes on the right.
    virtual float drawRightDecorationInFrame(QPainter& painter, const QRectF& frame);

    static RKImage browserArrowImage();
    static RKImage browserArrowSelectedImage();
    static RKImage browserArrowSelectedPartialImage();

    // Where the picture's top-left corner and each label's rectangle go, from the row's top-left.
    virtual QSizeF imageOffset() const { return {1, 1}; }
    virtual QSizeF primaryOffset() const { return {0, 4}; }
    virtual QSizeF secondaryOffset() const { return {0, 17}; }
    virtual QSizeF tertiaryOffset() const { return {0, 0}; }

    // Class-level attribute sets of the three labels.
    virtual const RKTextAttributes& primaryAttributes() const;
    virtual const RKTextAttributes& secondaryAttributes() const;
    virtual const RKTextAttributes& tertiaryAttributes() const;

    bool shouldDrawAlternateText = false;
    bool isMouseDown = false;

protected:
    // The node's calls to its browser. Each does nothing for a node not shown under the root.
    void updateBrowserTables() const;
    void redrawInBrowser() const;
    void setRootNodeInBrowserColumn(const std::shared_ptr<Node>& node, int column) const;
    void selectRowInBrowserColumn(int row, int column) const;
    // The name becomes (or already is) a saved lookup, selected when asked.
    void addLookupInBrowser(const QString& name, bool select) const;

    // Draws the label in (x + left + dx, y + dy, w − (left + right), h) of the frame, white on a
    // selected row or when shouldDrawAlternateText is set; shortened at the end when too long.
    void drawLabelInFrame(QPainter& painter, RKTableString* label, const QRectF& frame, QSizeF offset,
                          float left, float right, bool centered = false);
    RKTableString* primaryLabel() { return m_primary.get(); }

    template <class T>
    std::shared_ptr<T> self()
    {
        return std::static_pointer_cast<T>(shared_from_this());
    }

    bool m_isLoaded = false;

private:
    friend class BrowserView;

    NodeList m_nodes;
    std::weak_ptr<Node> m_parentNode;
    QPointer<BrowserView> m_browserView;
    std::unique_ptr<RKTableString> m_primary;
    std::unique_ptr<RKTableString> m_secondary;
    std::unique_ptr<RKTableString> m_tertiary;
    RKImage m_image;
};

// The caption strip at the top of a column; not selectable.
class TitleNode : public Node {
public:
    bool canSelectNode() const override { return false; }
    const RKTextAttributes& primaryAttributes() const override;
    float rowHeight() const override { return 16; }
    // A metal strip with the title centred on it.
    void drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget* view) override;
};

// The content of a column with nothing to show: its only child is a caption strip without words.
class TitleContainerNode : public Node {
public:
    static constexpr bool postInitInNodeFactory = false;
    void init() override;
};

// A thin divider row; not selectable.
class SeparatorNode : public Node {
public:
    bool canSelectNode() const override { return false; }
    float rowHeight() const override { return 8; }
    // White, with a 2-point gray rule 3 points in from each side.
    void drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget* view) override;
};

// A declared kind of row without behaviour of its own.
class HeaderNode : public Node {
};

// The row of a lookup that found nothing; not selectable.
class NothingFoundNode : public Node {
public:
    void init() override;
    bool canSelectNode() const override { return false; }
    const RKTextAttributes& primaryAttributes() const override;
    const RKTextAttributes& secondaryAttributes() const override;
    static RKImage nodeImage();
};
