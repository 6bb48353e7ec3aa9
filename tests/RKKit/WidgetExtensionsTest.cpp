// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSEventExtensions.h"
#include "RKKit/RKExtensions/NSMenuExtensions.h"
#include "RKKit/RKExtensions/NSTableViewExtensions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>

#include <memory>

using namespace TableViewExtensions;

class TableSelectionTest : public ::testing::Test
{
protected:
    TableSelectionTest() : model(10, 3)
    {
        view.setModel(&model);
        view.setSelectionMode(QAbstractItemView::MultiSelection);
    }

    void selectRow(int row) { view.selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); }

    QStandardItemModel model;
    QTableView view;
};

TEST_F(TableSelectionTest, NothingSelectedAnswersZero)
{
    EXPECT_EQ(numberOfSelectedRows(&view), 0);
    EXPECT_EQ(firstSelectedRow(&view), 0);
    EXPECT_EQ(firstSelectedRow(static_cast<const QAbstractItemView*>(nullptr)), 0);
}

TEST_F(TableSelectionTest, FirstSelectedRowIsTheSmallestNotTheFirstChosen)
{
    selectRow(7);
    selectRow(3);
    EXPECT_EQ(firstSelectedRow(&view), 3);
    EXPECT_EQ(firstSelectedRow(view.selectionModel()), 3);
    EXPECT_EQ(numberOfSelectedRows(&view), 2);
    EXPECT_EQ(numberOfSelectedRows(view.selectionModel()), 2);
}

TEST_F(TableSelectionTest, SeveralCellsOfOneRowCountOnce)
{
    auto* selection = view.selectionModel();
    selection->select(model.index(5, 0), QItemSelectionModel::Select);
    selection->select(model.index(5, 2), QItemSelectionModel::Select);
    selection->select(QItemSelection(model.index(8, 1), model.index(9, 1)), QItemSelectionModel::Select);
    EXPECT_EQ(numberOfSelectedRows(selection), 3);
    EXPECT_EQ(firstSelectedRow(selection), 5);
}

TEST(EventExtensions, LocationInViewMapsTheWindowPositionIntoTheView)
{
    QWidget window;
    window.resize(300, 200);
    auto* panel = new QWidget(&window);
    panel->setGeometry(30, 40, 200, 100);
    auto* view = new QWidget(panel);
    view->setGeometry(5, 5, 50, 50);

    const QPointF inWindow(50, 60);
    // The local position is that of some other receiver; only the window position counts.
    const QMouseEvent event(QEvent::MouseMove, QPointF(1, 1), inWindow, QPointF(1050, 1060), Qt::NoButton,
                            Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(EventExtensions::locationInView(&event, view), QPointF(15, 15));
    EXPECT_EQ(EventExtensions::locationInView(&event, panel), QPointF(20, 20));
    EXPECT_EQ(EventExtensions::locationInView(&event, &window), inWindow);
    EXPECT_EQ(EventExtensions::locationInView(&event, nullptr), inWindow);
}

TEST(MenuExtensions, ItemsCallTheirActionWithThemselvesAsSender)
{
    QMenu menu;
    QObject target;
    QList<QAction*> senders;
    QAction* play = MenuExtensions::addItemWithTitleActionTarget(
        &menu, "Play", [&](QAction* sender) { senders.append(sender); }, &target);
    MenuExtensions::addSeparator(&menu);
    QAction* open = MenuExtensions::addItemWithTitleActionTargetRepresentedObject(
        &menu, "Open", [&](QAction* sender) { senders.append(sender); }, nullptr, QVariant(QStringLiteral("Low")));

    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions().at(0), play);
    EXPECT_TRUE(menu.actions().at(1)->isSeparator());
    EXPECT_EQ(menu.actions().at(2), open);
    EXPECT_EQ(play->text(), "Play");
    EXPECT_TRUE(play->shortcut().isEmpty());
    EXPECT_EQ(open->data().toString(), "Low");

    play->trigger();
    open->trigger();
    EXPECT_EQ(senders, (QList<QAction*>{play, open}));
}

TEST(MenuExtensions, ActionEndsWithItsTarget)
{
    QMenu menu;
    auto target = std::make_unique<QObject>();
    int calls = 0;
    QAction* item = MenuExtensions::addItemWithTitleActionTarget(&menu, "Go", [&](QAction*) { ++calls; }, target.get());
    item->trigger();
    target.reset();
    item->trigger();
    EXPECT_EQ(calls, 1);

    QMenu other;
    EXPECT_FALSE(MenuExtensions::addItems(&other, {item}));
}

TEST(MenuExtensions, AddItemsAnswersWhetherAnyHasATarget)
{
    QMenu source;
    QObject target;
    QAction* plain = MenuExtensions::addItemWithTitleActionTarget(&source, "Plain", {}, nullptr);
    QAction* targeted = MenuExtensions::addItemWithTitleActionTarget(&source, "Targeted", {}, &target);

    QMenu none;
    EXPECT_FALSE(MenuExtensions::addItems(&none, {plain}));
    QMenu some;
    EXPECT_TRUE(MenuExtensions::addItems(&some, {plain, targeted}));
    EXPECT_EQ(some.actions(), (QList<QAction*>{plain, targeted}));
}

TEST(MenuExtensions, SubmenuHangsFromATitledItem)
{
    QMenu menu;
    auto* submenu = new QMenu;
    QAction* item = MenuExtensions::addSubmenuWithTitle(&menu, submenu, "Recent");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->menu(), submenu);
    EXPECT_EQ(item->text(), "Recent");
    EXPECT_EQ(submenu->parent(), &menu);
    EXPECT_EQ(menu.actions().last(), item);
}
