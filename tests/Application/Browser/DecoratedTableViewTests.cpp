// SPDX-License-Identifier: GPL-3.0-or-later
// The variable-height table under every column: row origins and hit testing, the scroll bar
// that shows only while the rows overflow, painting, and every selection change announced.
#include "Application/Browser/MetaTableView.h"
#include "Application/Node.h"
#include "Platform/NotificationCenter.h"
#include "RKKit/RKColor.h"
#include "RKKit/RKExtensions/Events.h"
#include "RKKit/RKGradient.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

#include <QScrollBar>

namespace {

// A root whose rows have the given heights: 16 a caption, 8 a separator, 23 and 33 entries.
std::shared_ptr<Node> rowsOfHeights(std::initializer_list<int> heights)
{
    auto root = Node::node();
    int n = 0;
    for (const int height : heights) {
        const QString name = QStringLiteral("Row %1").arg(n++);
        switch (height) {
        case 16: root->addNode(Node::nodeWithPrimary<TitleNode>(name)); break;
        case 8: root->addNode(Node::node<SeparatorNode>()); break;
        case 33: root->addNode(Node::nodeWithPrimarySecondary<Node>(name, "second line")); break;
        default: root->addNode(Node::nodeWithPrimary<Node>(name)); break;
        }
    }
    return root;
}

TEST(DecoratedTableView, OriginsAndHitTestingFollowTheRowHeights)
{
    MetaTableView table;
    table.resize(200, 300);
    table.setRootNode(rowsOfHeights({16, 23, 8, 33}));
    EXPECT_EQ(table.origins(), (std::vector<float>{0, 16, 39, 47, 80}));
    EXPECT_EQ(table.contentHeight(), 80);
    EXPECT_EQ(table.rectOfRow(3), QRectF(0, 47, table.viewport()->width(), 33));
    EXPECT_EQ(table.rectOfRow(4), QRectF());
    EXPECT_EQ(table.rectOfRow(-1), QRectF());
    // Qt's own layout of the rows agrees with the origins.
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(table.visualRect(table.model()->index(row, 0)).y(), int(table.origins()[std::size_t(row)])) << row;

    const struct {
        QPointF point;
        int row;
    } hits[] = {
        {{5, 0}, 0}, {{5, 15.9}, 0}, {{5, 16}, 1}, {{5, 46.5}, 2}, {{5, 47}, 3},
        {{5, 79.9}, 3}, {{5, 80}, -1}, {{5, -1}, -1}, {{-1, 20}, -1}, {{1000, 20}, -1},
    };
    for (const auto& hit : hits)
        EXPECT_EQ(table.rowAtPoint(hit.point), hit.row) << hit.point.x() << "," << hit.point.y();

    table.setRootNode(nullptr);
    EXPECT_EQ(table.rowAtPoint(QPointF(5, 5)), 0) << "the placeholder's strip";
}

TEST(DecoratedTableView, TheScrollBarShowsOnlyWhileTheRowsOverflow)
{
    QWidget window;
    MetaTableView table(&window);
    table.setGeometry(0, 0, 200, 100);
    window.show();
    const struct {
        std::initializer_list<int> heights;
        bool scroller;
    } cases[] = {
        {{16, 23, 8, 33}, false},          // 80
        {{23, 23, 23, 23, 8}, false},      // exactly 100
        {{23, 23, 23, 16, 16}, true},      // 101
    };
    for (const auto& c : cases) {
        table.setRootNode(rowsOfHeights(c.heights));
        QApplication::processEvents();
        EXPECT_EQ(table.verticalScrollBar()->isVisible(), c.scroller) << table.contentHeight();
    }
    // A taller column makes room again.
    table.setGeometry(0, 0, 200, 120);
    QApplication::processEvents();
    EXPECT_FALSE(table.verticalScrollBar()->isVisible());
}

TEST(DecoratedTableView, RowsPaintAlternatingWithTheSelectionByFocus)
{
    QWidget window;
    MetaTableView table(&window);
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    table.setGeometry(0, 0, 200, 150);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    table.setRootNode(rowsOfHeights({23, 23, 23}));
    table.selectRowByExtendingSelection(1, false);
    table.setFocus();
    QApplication::processEvents();

    QImage image = table.viewport()->grab().toImage();
    EXPECT_EQ(image.pixel(100, 1), RKColor::lightBlueColor().rgb()) << "row 0 light blue";
    EXPECT_EQ(image.pixel(100, 23), RKGradient::selectedGradient().c->rgb()) << "row 1 selected, focused";
    EXPECT_EQ(image.pixel(100, 47), RKColor::lightBlueColor().rgb()) << "row 2 light blue";
    EXPECT_EQ(image.pixel(100, 120), RKColor::whiteColor().rgb()) << "white below the rows";

    other.setFocus();
    QApplication::processEvents();
    image = table.viewport()->grab().toImage();
    EXPECT_EQ(image.pixel(100, 23), RKGradient::selectedGrayGradient().c->rgb()) << "gray once the focus is elsewhere";
}

TEST(DecoratedTableView, EverySelectionChangeIsAnnouncedAtOnce)
{
    QWidget window;
    MetaTableView table(&window);
    table.setGeometry(0, 0, 200, 150);
    window.show();
    table.setRootNode(rowsOfHeights({16, 23, 23, 23}));

    struct Listener {
        QStringList heard;
        int selectedAtNotice = -2;
        const MetaTableView* table = nullptr;
        void didChange(const Notification&) { heard << "did"; selectedAtNotice = table->selectedRow(); }
        void isChanging(const Notification&) { heard << "is"; }
    };
    auto listener = std::make_shared<Listener>();
    listener->table = &table;
    const void* sender = static_cast<RKTableView*>(&table);
    Events::listenForNotificationSelectorObject(listener, TableViewSelectionDidChangeNotification, &Listener::didChange, sender);
    Events::listenForNotificationSelectorObject(listener, TableViewSelectionIsChangingNotification, &Listener::isChanging, sender);

    table.selectRowByExtendingSelection(2, false);
    EXPECT_EQ(listener->heard, QStringList{"did"});
    EXPECT_EQ(listener->selectedAtNotice, 2) << "announced synchronously, with the new selection in place";
    table.selectRowByExtendingSelection(0, false); // the caption: a call selects it anyway
    EXPECT_EQ(table.selectedRow(), 0);
    listener->heard.clear();
    table.deselectAll();
    table.deselectAll();
    EXPECT_EQ(listener->heard, QStringList{"did"}) << "clearing an empty selection announces nothing";

    // A click: "is changing" on the press, "did change" on the release.
    listener->heard.clear();
    const QPoint row3(50, int(table.rectOfRow(3).center().y()));
    QTest::mousePress(table.viewport(), Qt::LeftButton, {}, row3);
    EXPECT_EQ(listener->heard, QStringList{"is"});
    QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, row3);
    EXPECT_EQ(listener->heard, QStringList({"is", "did"}));
    EXPECT_EQ(table.selectedRow(), 3);

    // Rows going away: an index still a row stays selected, one beyond the rows is dropped
    // (and the drop announced).
    listener->heard.clear();
    auto shorter = rowsOfHeights({16, 23, 23, 23, 23});
    table.setRootNode(shorter);
    EXPECT_EQ(table.selectedRow(), 3);
    EXPECT_TRUE(listener->heard.isEmpty());
    shorter->removeNode(shorter->nodes()[1].get());
    shorter->removeNode(shorter->nodes()[1].get());
    table.updateObjects();
    EXPECT_EQ(table.selectedRow(), -1);
    EXPECT_EQ(listener->heard, QStringList{"did"});
    Events::stopListening(listener.get());
}

} // namespace
