// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Two panes stacked one above the other. The top pane's height is kept in the defaults store
// under defaultsKey() ("DrawerSplitHeight", 125 until the user drags), restored when the panes
// are set, held between 22 points and the split view's height less 100 while the divider is
// dragged (every step stored), and kept when the window is resized: the bottom pane takes every
// change of height.

#include <QSplitter>

class RKSplitView : public QSplitter {
    Q_OBJECT
public:
    explicit RKSplitView(QWidget* parent = nullptr);

    virtual QString defaultsKey() const { return QStringLiteral("DrawerSplitHeight"); }
    // Adds the two panes and gives the top one its stored height.
    void setPanes(QWidget* top, QWidget* bottom);
    // The position a drag of divider d to p settles at (and stores, for divider 0).
    float constrainSplitPositionOfSubviewAt(float proposed, int divider);
    int topPaneHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyTopHeight(int height);
    bool m_restoring = false;
};
