// SPDX-License-Identifier: GPL-3.0-or-later
// The three-column browser driven as a user drives it: clicks, keys and pointer motion on the
// real widgets, with a real similar-artist server behind the lookups.
#include "Application/CorrelationLookupNode.h"
#include "Application/CorrelationNode.h"
#include "Application/URLQueryNode.h"
#include "Browser/BrowserTestSupport.h"
#include "RKKit/RKColor.h"
#include "RKKit/RKTableScrollView.h"

#include "ApplicationTestSupport.h"
#include "support/OpenedLinks.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDesktopServices>

namespace {

constexpr int firstLookupRow = MainNode::numberOfFixedEntries; // after the caption and the fixed entries

struct Browsing : ::testing::Test {
    SimilarArtistServer server;
    Browsing()
    {
        server.answers["Massive Attack"] = {{"Portishead", 90}, {"Tricky", 70}, {"Björk", 40}, {"Air", 10}};
        server.answers["Portishead"] = {{"Beth Gibbons", 80}, {"Goldfrapp", 20}};
        UserDefaults::standardUserDefaults().setObjectForKey(QVariantList{"Massive Attack", "Portishead", "Air"}, "CorrelationLookupNodes");
    }
    ~Browsing() override
    {
        UserDefaults::standardUserDefaults().setObjectForKey(QVariant(), "CorrelationLookupNodes");
    }
    // Selects the lookup in column 0 and waits for its answer in column 1.
    void openLookup(ShownWindow& shown, const QString& name)
    {
        shown.click(0, shown.rowOf(0, name));
        ASSERT_TRUE(waitUntil([&] { return shown.column(1).numberOfRows() > 1; })) << name.toStdString();
    }
};

TEST_F(Browsing, StartsOnTheRootWithTwoEmptyColumns)
{
    ShownWindow shown;
    EXPECT_EQ(shown.column(0).numberOfRows(), int(shown.root().nodes().size()));
    EXPECT_EQ(shown.column(0).selectedRow(), 0);
    EXPECT_EQ(shown.column(0).verticalScrollBar()->value(), 0);
    EXPECT_TRUE(shown.isPlaceholder(1));
    EXPECT_TRUE(shown.isPlaceholder(2));
    EXPECT_FALSE(shown.column(1).tableViewShouldSelectRow(0)) << "the placeholder's strip cannot be selected";
}

TEST_F(Browsing, ColumnsFallOnWholePointsWithDividersBetween)
{
    const struct {
        int width;
        int frames[3][2];
    } cases[] = {
        {600, {{0, 199}, {200, 199}, {400, 200}}},
        {601, {{0, 200}, {201, 199}, {401, 200}}},
        {602, {{0, 200}, {201, 200}, {402, 200}}},
    };
    ShownWindow shown;
    for (const auto& c : cases) {
        shown.browser().resize(c.width, 300);
        for (int j = 0; j < 3; ++j) {
            const QRect frame = shown.browser().scrollViewAtIndex(j)->geometry();
            EXPECT_EQ(frame.x(), c.frames[j][0]) << c.width << " column " << j;
            EXPECT_EQ(frame.width(), c.frames[j][1]) << c.width << " column " << j;
            EXPECT_EQ(frame.height(), 300);
        }
    }
    shown.browser().resize(600, 300);
    const QImage image = shown.browser().grab().toImage();
    const QRgb divider = RKColor::grayColor80().rgb();
    EXPECT_EQ(image.pixel(199, 150), divider);
    EXPECT_EQ(image.pixel(399, 150), divider);
    EXPECT_NE(image.pixel(198, 150), divider);
    EXPECT_NE(image.pixel(200, 150), divider);
}

TEST_F(Browsing, SelectionDrillsFromLookupToArtistToLinks)
{
    ShownWindow shown;
    openLookup(shown, "Massive Attack");
    EXPECT_EQ(shown.column(1).nodeAtRow(0)->primaryString(), "Similar to Massive Attack");
    EXPECT_TRUE(shown.isPlaceholder(2));

    shown.click(1, shown.rowOf(1, "Portishead"));
    EXPECT_EQ(shown.selectedPrimary(1), "Portishead");
    EXPECT_EQ(shown.column(2).nodeAtRow(0)->primaryString(), "Portishead");
    EXPECT_EQ(shown.column(2).numberOfRows(), 11);

    // Another artist: column 2 switches, unselected and at the top.
    shown.column(2).verticalScrollBar()->setValue(20);
    shown.click(1, shown.rowOf(1, "Air"));
    EXPECT_EQ(shown.column(2).nodeAtRow(0)->primaryString(), "Air");
    EXPECT_EQ(shown.column(2).selectedRow(), -1);
    EXPECT_EQ(shown.column(2).verticalScrollBar()->value(), 0);

    // Re-announcing column 0's selection keeps column 1 as it is and empties column 2.
    shown.browser().selectionIsChangingInColumn(0);
    EXPECT_EQ(shown.selectedPrimary(1), "Air");
    EXPECT_TRUE(shown.isPlaceholder(2));

    // Clicks on captions and separators select nothing.
    shown.click(0, 0);
    shown.click(0, firstLookupRow - 1);
    EXPECT_EQ(shown.selectedPrimary(0), "Massive Attack");
}

TEST_F(Browsing, LeftRightEscapeAndTabMoveBetweenColumns)
{
    ShownWindow shown;
    openLookup(shown, "Massive Attack");
    EXPECT_EQ(shown.focusedColumn(), 0);

    // Right into a column without a selection selects its first selectable row.
    shown.key(0, Qt::Key_Right);
    EXPECT_EQ(shown.focusedColumn(), 1);
    EXPECT_EQ(shown.column(1).selectedRow(), 1);
    EXPECT_EQ(shown.column(2).nodeAtRow(0)->primaryString(), "Portishead");
    // Left moves the focus only; Right again keeps column 1's selection.
    shown.key(1, Qt::Key_Down);
    EXPECT_EQ(shown.selectedPrimary(1), "Tricky");
    shown.key(1, Qt::Key_Left);
    EXPECT_EQ(shown.focusedColumn(), 0);
    EXPECT_EQ(shown.selectedPrimary(1), "Tricky");
    shown.key(0, Qt::Key_Right);
    EXPECT_EQ(shown.selectedPrimary(1), "Tricky");

    // Right into the links: nothing there can be selected, only the focus moves.
    shown.key(1, Qt::Key_Right);
    EXPECT_EQ(shown.focusedColumn(), 2);
    EXPECT_EQ(shown.column(2).selectedRow(), -1);
    shown.key(2, Qt::Key_Right);
    EXPECT_EQ(shown.focusedColumn(), 2);

    // Escape in column 1: its selection goes, column 2 empties, the focus goes left.
    shown.key(1, Qt::Key_Escape);
    EXPECT_EQ(shown.column(1).selectedRow(), -1);
    EXPECT_TRUE(shown.isPlaceholder(2));
    EXPECT_EQ(shown.focusedColumn(), 0);
    EXPECT_EQ(shown.selectedPrimary(0), "Massive Attack");
    shown.key(0, Qt::Key_Left);
    EXPECT_EQ(shown.focusedColumn(), 0);

    // Tab cycles through the three columns, both ways, and changes no selection.
    shown.key(2, Qt::Key_Tab);
    EXPECT_EQ(shown.focusedColumn(), 0);
    shown.key(0, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(shown.focusedColumn(), 2);
    shown.key(0, Qt::Key_Tab);
    EXPECT_EQ(shown.focusedColumn(), 1);
    EXPECT_EQ(shown.selectedPrimary(0), "Massive Attack");
}

TEST_F(Browsing, DeleteDropsOnlySavedLookups)
{
    ShownWindow shown;
    const int portishead = shown.rowOf(0, "Portishead");
    // In the middle: the next lookup takes its place and shows in column 1.
    shown.click(0, portishead);
    shown.key(0, Qt::Key_Delete);
    EXPECT_EQ(shown.rowOf(0, "Portishead"), -1);
    EXPECT_EQ(shown.selectedPrimary(0), "Air");
    EXPECT_EQ(shown.column(1).nodeAtRow(0)->primaryString(), "Similar to Air");
    // The last: the new last row is selected.
    shown.key(0, Qt::Key_Backspace);
    EXPECT_EQ(shown.selectedPrimary(0), "Massive Attack");
    // The only one: the separator before it is selected by the call, and column 1 is empty.
    shown.key(0, Qt::Key_Delete);
    EXPECT_EQ(shown.column(0).selectedRow(), firstLookupRow - 1);
    EXPECT_TRUE(shown.isPlaceholder(1));
    const int rows = shown.column(0).numberOfRows();

    // Fixed entries, captions and other columns: nothing happens.
    for (int row = 0; row < rows; ++row) {
        shown.column(0).selectRowByExtendingSelection(row, false);
        shown.key(0, Qt::Key_Delete);
        EXPECT_EQ(shown.column(0).numberOfRows(), rows) << row;
    }
    shown.root().addNewLookupNodeWithStringAndSelect("Massive Attack", true);
    ASSERT_TRUE(waitUntil([&] { return shown.column(1).numberOfRows() > 1; }));
    shown.click(1, 1);
    shown.key(1, Qt::Key_Delete);
    EXPECT_EQ(shown.column(0).numberOfRows(), rows + 1);
    EXPECT_EQ(shown.column(1).numberOfRows(), 5);
}

TEST_F(Browsing, ArrowsAndTypingSkipRowsThatCannotBeSelected)
{
    UserDefaults::standardUserDefaults().setObjectForKey(QVariantList{"Massive Attack", "Björk", "Blur"}, "CorrelationLookupNodes");
    ShownWindow shown;
    shown.click(0, 3); // the recommendations, just above the separator
    shown.key(0, Qt::Key_Down);
    EXPECT_EQ(shown.selectedPrimary(0), "Massive Attack") << "the separator is passed over";
    shown.key(0, Qt::Key_Up);
    EXPECT_EQ(shown.column(0).selectedRow(), 3);
    shown.click(0, 1);
    shown.key(0, Qt::Key_Up);
    EXPECT_EQ(shown.column(0).selectedRow(), 1) << "the caption above cannot be selected";

    // Type-ahead, ignoring case and accents; a pause starts a new prefix.
    shown.column(0).setFocus();
    QTest::keyClicks(&shown.column(0), "bjo");
    EXPECT_EQ(shown.selectedPrimary(0), "Björk");
    QTest::qWait(1100);
    QTest::keyClicks(&shown.column(0), "BL");
    EXPECT_EQ(shown.selectedPrimary(0), "Blur");
    QTest::qWait(1100);
    QTest::keyClicks(&shown.column(0), "z");
    EXPECT_EQ(shown.selectedPrimary(0), "Blur") << "no match leaves the selection";
}

TEST_F(Browsing, DoubleClickAndReturnWalkOnToAnArtist)
{
    ShownWindow shown;
    openLookup(shown, "Massive Attack");
    shown.doubleClick(1, shown.rowOf(1, "Tricky"));
    EXPECT_EQ(shown.selectedPrimary(0), "Tricky") << "a new lookup, selected";
    EXPECT_EQ(shown.focusedColumn(), 0);
    EXPECT_TRUE(waitUntil([&] { return server.askedArtists().contains("Tricky"); }));

    openLookup(shown, "Massive Attack");
    shown.click(1, shown.rowOf(1, "Portishead"));
    shown.key(1, Qt::Key_Return);
    EXPECT_EQ(shown.selectedPrimary(0), "Portishead") << "an existing lookup is selected, not added again";
    EXPECT_EQ(shown.root().nodes().size(), std::size_t(firstLookupRow + 4));
}

TEST_F(Browsing, ALinkRowOpensOnReleaseAndLeavesTheSelection)
{
    OpenedLinks links;
    ShownWindow shown;
    openLookup(shown, "Massive Attack");
    shown.click(1, shown.rowOf(1, "Portishead"));
    const int google = shown.rowOf(2, "Search Google");
    shown.moveTo(2, google);
    auto link = std::dynamic_pointer_cast<URLQueryNode>(shown.column(2).nodeAtRow(google));
    EXPECT_TRUE(link->isMouseOver);
    QTest::mousePress(shown.column(2).viewport(), Qt::LeftButton, {}, shown.centreOfRow(2, google));
    EXPECT_TRUE(link->isMouseDown);
    EXPECT_TRUE(links.opened.isEmpty()) << "not on the press";
    QTest::mouseRelease(shown.column(2).viewport(), Qt::LeftButton, {}, shown.centreOfRow(2, google));
    ASSERT_EQ(links.opened.size(), 1);
    EXPECT_EQ(links.opened.first().toString(), "http://www.google.com/search?q=Portishead");
    EXPECT_EQ(shown.column(2).selectedRow(), -1);
    EXPECT_EQ(shown.selectedPrimary(1), "Portishead");
    EXPECT_EQ(shown.selectedPrimary(1), "Portishead") << "a link takes no selection";
}

// A row that writes down the pointer hooks it receives.
struct RecordingNode : Node {
    static inline QStringList* log = nullptr;
    void mouseEnteredCurrentFrame(const QMouseEvent*, const QRectF& frame) override { record("enter", frame); }
    void mouseExitedCurrentFrame(const QMouseEvent*, const QRectF& frame) override { record("exit", frame); }
    void mouseMovedCurrentFrame(const QMouseEvent*, const QRectF& frame) override { record("move", frame); }
    void record(const char* hook, const QRectF& frame) { log->append(QStringLiteral("%1 %2 @%3").arg(hook, primaryString()).arg(frame.y())); }
};

std::shared_ptr<Node> recordingColumn(const QString& prefix)
{
    auto root = Node::node();
    for (int i = 0; i < 4; ++i)
        root->addNode(Node::nodeWithPrimary<RecordingNode>(QStringLiteral("%1%2").arg(prefix).arg(i)));
    return root;
}

TEST_F(Browsing, PointerHooksComeInOrderAndRepaintOnlyTheRowsInvolved)
{
    QStringList log;
    RecordingNode::log = &log;
    ShownWindow shown;
    shown.browser().setRootNodeInColumn(recordingColumn("a"), 1);
    shown.browser().tableAtIndex(2)->setRootNode(recordingColumn("b"));

    shown.moveTo(1, 2);
    EXPECT_EQ(log, QStringList({"enter a2 @46", "move a2 @46"}));
    log.clear();
    shown.moveTo(1, 3);
    EXPECT_EQ(log, QStringList({"exit a2 @46", "enter a3 @69", "move a3 @69"}));
    log.clear();
    QTest::mouseMove(shown.column(1).viewport(), shown.centreOfRow(1, 3) + QPoint(5, 2));
    EXPECT_EQ(log, QStringList({"move a3 @69"}));
    log.clear();
    // Straight into the next column: the old table's exit before the new one's entry.
    shown.moveTo(2, 0);
    EXPECT_EQ(log, QStringList({"exit a3 @69", "enter b0 @0", "move b0 @0"}));
    log.clear();
    // Below the last row.
    QTest::mouseMove(shown.column(2).viewport(), QPoint(50, 200));
    EXPECT_EQ(log, QStringList({"exit b0 @0"}));
    EXPECT_EQ(shown.column(2).mouseOverRow(), -1);
    RecordingNode::log = nullptr;

    // A link under the pointer repaints its own row and the row it left, not the column.
    shown.browser().setRootNodeInColumn(nullptr, 1);
    openLookup(shown, "Massive Attack");
    shown.click(1, 1);
    shown.moveTo(2, 1);
    QApplication::processEvents();
    PaintRecorder recorder(shown.column(2).viewport());
    shown.moveTo(2, 2);
    QApplication::processEvents();
    const QRect left = shown.column(2).visualRect(shown.column(2).model()->index(1, 0));
    const QRect entered = shown.column(2).visualRect(shown.column(2).model()->index(2, 0));
    EXPECT_FALSE(recorder.painted.isEmpty());
    EXPECT_TRUE((recorder.painted - QRegion(left.united(entered)).united(QRect(0, left.y(), 10000, left.height() + entered.height()))).isEmpty())
        << "painted outside the two rows";
}

TEST_F(Browsing, ScreenReadersHearNamedColumnsAndRowsAndFollowTheSelection)
{
    ShownWindow shown;
    openLookup(shown, "Massive Attack");
    shown.click(1, shown.rowOf(1, "Tricky"));

    const char* names[] = {"Lookups", "Similar artists", "Links"};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* column = QAccessible::queryAccessibleInterface(&shown.column(i));
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(column->text(QAccessible::Name), names[i]);
        EXPECT_EQ(column->role(), QAccessible::List);
    }
    QAccessibleInterface* artists = QAccessible::queryAccessibleInterface(&shown.column(1));
    const auto rowNamed = [](QAccessibleInterface* list, const QString& name) -> QAccessibleInterface* {
        for (int i = 0; i < list->childCount(); ++i) {
            if (list->child(i)->text(QAccessible::Name) == name)
                return list->child(i);
        }
        return nullptr;
    };
    QAccessibleInterface* tricky = rowNamed(artists, "Tricky, 4 of 4 stars");
    ASSERT_NE(tricky, nullptr);
    EXPECT_EQ(tricky->role(), QAccessible::ListItem);
    EXPECT_TRUE(tricky->state().selected);
    EXPECT_TRUE(tricky->state().focused);
    QAccessibleInterface* caption = rowNamed(artists, "Similar to Massive Attack");
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->state().selectable);
    ASSERT_NE(rowNamed(artists, "Air, 1 of 4 stars"), nullptr);
    ASSERT_NE(rowNamed(QAccessible::queryAccessibleInterface(&shown.column(2)), "Search Google for Tricky"), nullptr);

    // Moving the selection, by key or by a call, moves the accessible focus to the new row.
    shown.key(1, Qt::Key_Down);
    EXPECT_EQ(shown.selectedPrimary(1), "Björk");
    EXPECT_TRUE(rowNamed(artists, "Björk, 2 of 4 stars")->state().focused);
    EXPECT_FALSE(rowNamed(artists, "Tricky, 4 of 4 stars")->state().focused);
    shown.column(1).selectRowByExtendingSelection(shown.rowOf(1, "Air"), false);
    EXPECT_TRUE(rowNamed(artists, "Air, 1 of 4 stars")->state().focused);
    EXPECT_TRUE(rowNamed(artists, "Air, 1 of 4 stars")->state().selected);
}

} // namespace

