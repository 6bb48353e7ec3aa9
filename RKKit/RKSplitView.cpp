// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKSplitView.h"

#include "Platform/UserDefaults.h"

#include <QResizeEvent>

RKSplitView::RKSplitView(QWidget* parent)
    : QSplitter(Qt::Vertical, parent)
{
    setChildrenCollapsible(false);
    connect(this, &QSplitter::splitterMoved, this, [this](int position, int index) {
        if (m_restoring)
            return;
        // splitterMoved names the pane below the handle; the design's divider 0 is the first.
        const int constrained = int(constrainSplitPositionOfSubviewAt(float(position), index - 1));
        if (constrained != topPaneHeight())
            applyTopHeight(constrained);
    });
}

void RKSplitView::setPanes(QWidget* top, QWidget* bottom)
{
    addWidget(top);
    addWidget(bottom);
    // The panes themselves may be as small as the limits allow.
    top->setMinimumHeight(0);
    bottom->setMinimumHeight(0);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.registerDefaults({{defaultsKey(), QStringLiteral("125")}});
    // The stored height is used as it stands; only a drag applies the limits.
    applyTopHeight(int(defaults.floatForKey(defaultsKey())));
}

float RKSplitView::constrainSplitPositionOfSubviewAt(float proposed, int divider)
{
    if (divider != 0)
        return proposed;
    const float total = float(height());
    float position = proposed;
    if (total < proposed + 100)
        position = total - 100;
    if (proposed < 22) // applied last: the top pane keeps 22 points even in a short split view
        position = 22;
    UserDefaults::standardUserDefaults().setFloatForKey(position, defaultsKey());
    return position;
}

int RKSplitView::topPaneHeight() const
{
    const QList<int> heights = sizes();
    return heights.isEmpty() ? 0 : heights.first();
}

void RKSplitView::applyTopHeight(int top)
{
    if (count() < 2)
        return;
    m_restoring = true;
    const int available = std::max(0, height() - handleWidth());
    setSizes({top, std::max(0, available - top)});
    m_restoring = false;
}

void RKSplitView::resizeEvent(QResizeEvent* event)
{
    // The top pane keeps its height; the bottom one takes the change. Nothing is stored.
    const int top = topPaneHeight();
    QSplitter::resizeEvent(event);
    if (event->oldSize().isValid() && count() >= 2)
        applyTopHeight(top);
}
