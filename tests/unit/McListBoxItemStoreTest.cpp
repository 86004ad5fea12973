#include "controls/McListBox/McListBox.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "support/PlacedList.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A list placed on a running window: initialised, 200 x 176 client pixels (eight rows of 22).
class ListItems : public PlacedList {
protected:
    void SetUp() override { Place(); }

    static int ErrorOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const RuntimeError& error) {
            return error.Number();
        }
        return 0;
    }
};

} // namespace

TEST_F(ListItems, AddItemInsertsAtItsIndexAndRejectsPositionsPastTheEnd) {
    list.setAutoRefresh(false);
    list.AddItem(QStringLiteral("a"));
    list.AddItem(QStringLiteral("b"), 0);
    list.AddItem(QStringLiteral("c"), 2);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(QStringLiteral("d"), 5); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.AddItem(QStringLiteral("d"), -2); }), 9);
    ASSERT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.List(0), QStringLiteral("b"));
    EXPECT_EQ(list.List(1), QStringLiteral("a"));
    EXPECT_EQ(list.List(2), QStringLiteral("c"));
    list.AddItem(QStringLiteral("icon"), -1, 3, true);
    EXPECT_EQ(list.ListIcon(3), 3);
    EXPECT_TRUE(list.ListBold(3));
    EXPECT_EQ(list.List(3), QStringLiteral("icon"));
}

TEST_F(ListItems, EmptyListReportsNoCurrentRowAndTheFirstRowBecomesCurrent) {
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), QString());
    EXPECT_EQ(list.List(0), QString());
    list.AddItem(QStringLiteral("first"));
    list.Refresh();
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(list.Text(), QStringLiteral("first"));
    EXPECT_EQ(list.SelCount(), 0);
}

TEST_F(ListItems, BadPositionsRaiseSubscriptOutOfRange) {
    Fill(3);
    EXPECT_EQ(ErrorOf([&] { list.ListIcon(3); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.setListIcon(-1, 2); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.ListBold(5); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.setListBold(3, true); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.setList(3, QStringLiteral("x")); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.SelItem(0); }), 9);
    EXPECT_EQ(ErrorOf([&] { list.Remove(3); }), 9);
    EXPECT_EQ(list.ListCount(), 3);
    list.Clear();
    EXPECT_EQ(ErrorOf([&] { list.Remove(); }), 9);
    EXPECT_TRUE(container.ChangedProperties().isEmpty());
}

TEST_F(ListItems, SeparatorInsideATextBreaksTheIconField) {
    list.AddItem(QStringLiteral("x<%S%>y"));
    EXPECT_EQ(list.List(0), QStringLiteral("x"));
    EXPECT_EQ(ErrorOf([&] { list.ListIcon(0); }), 13);
}

TEST_F(ListItems, SettingListIndexSelectsScrollsAndNotifies) {
    Fill(20);
    QSignalSpy changes(&list, &McListBox::SelChange);
    list.setListIndex(-1);
    list.setListIndex(20);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(container.ChangedProperties().isEmpty());

    list.setListIndex(15);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(list.ListIndex(), 15);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.SelItem(0), 15);
    EXPECT_EQ(container.ChangedProperties(), QStringList{QStringLiteral("ListIndex")});
    // Brought in at the bottom of the eight visible rows.
    EXPECT_EQ(list.Bars().GetBarValue(ScrollBars::kVertical), 8);
    list.setListIndex(2);
    EXPECT_EQ(list.Bars().GetBarValue(ScrollBars::kVertical), 2);
    EXPECT_EQ(list.SelectionAnchor(), 0);
}

TEST_F(ListItems, ReplacingAFieldKeepsTheRowInPlace) {
    Fill(3);
    list.setListBold(2, true);
    list.setListIcon(2, 7);
    EXPECT_TRUE(list.ListBold(2));
    EXPECT_EQ(list.ListIcon(2), 7);
    EXPECT_EQ(list.List(2), QStringLiteral("row 2"));
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(container.ChangedProperties(),
              (QStringList{QStringLiteral("ListBold"), QStringLiteral("ListIcon")}));

    QSignalSpy changes(&list, &McListBox::SelChange);
    const int draws = list.DrawCount();
    list.setList(1, QStringLiteral("renamed"));
    EXPECT_EQ(list.List(1), QStringLiteral("renamed"));
    EXPECT_EQ(list.ListIcon(1), -1);
    EXPECT_FALSE(list.ListBold(1));
    EXPECT_EQ(list.DrawCount(), draws);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ListItems, SelectionKeepsPositionsWhenRowsMove) {
    Fill(5);
    list.setListIndex(2);
    list.Remove(0);
    ASSERT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.SelItem(0), 2);
    EXPECT_EQ(list.List(2), QStringLiteral("row 3"));
    // The current row is removed when no index is given.
    list.Remove();
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.List(2), QStringLiteral("row 4"));
    EXPECT_EQ(list.SelItem(0), 2);
}

TEST_F(ListItems, SelectAllAndClearSelectionIgnoreMultiSelect) {
    Fill(5);
    QSignalSpy changes(&list, &McListBox::SelChange);
    list.SelectAll();
    EXPECT_EQ(list.SelCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.SelItem(i), i);
    list.setListIndex(4);
    list.ClearSelection();
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.SelItem(0), 4);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(ListItems, BurstOfAdditionsEndsInOneRefresh) {
    const int before = list.RefreshCount();
    const int drawsBefore = list.DrawCount();
    for (int i = 0; i < 10; ++i)
        list.AddItem(QStringLiteral("burst %1").arg(i));
    EXPECT_EQ(list.RefreshCount(), before);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.RefreshCount() > before; }, 2000));
    QTest::qWait(30);
    EXPECT_EQ(list.RefreshCount(), before + 1);
    EXPECT_EQ(list.DrawCount(), drawsBefore + 1);

    list.setAutoRefresh(false);
    const int quiet = list.RefreshCount();
    for (int i = 0; i < 10; ++i)
        list.AddItem(QStringLiteral("quiet %1").arg(i));
    QTest::qWait(30);
    EXPECT_EQ(list.RefreshCount(), quiet);
    EXPECT_EQ(list.ListCount(), 20);
}

TEST_F(ListItems, FileModesIgnoreTheHostsRowMethods) {
    list.setMode(3);
    const int count = list.ListCount();
    list.AddItem(QStringLiteral("mine"));
    list.Remove(0);
    list.Remove(-5);
    list.Clear();
    EXPECT_EQ(list.ListCount(), count);
}

TEST_F(ListItems, CheckItemCutsThePathAndShiftsByLevel) {
    list.setRowHeight(20);
    const QImage before = list.DrawingSurface().Image();
    QString text = QStringLiteral("drive/folder/leaf");
    int shift = 10;
    list.CheckItem(text, shift, -1);
    EXPECT_EQ(text, QStringLiteral("leaf"));
    EXPECT_EQ(shift, 50);
    EXPECT_EQ(list.DrawingSurface().Image(), before);
}

TEST_F(ListItems, GetMaxIsTheUpperBound) {
    EXPECT_EQ(list.GetMax(std::nullopt), -1);
    EXPECT_EQ(list.GetMax(QStringList{}), -1);
    EXPECT_EQ(list.GetMax(QStringList{"a", "b", "c", "d", "e"}), 4);
}

TEST_F(ListItems, SortOrderKeepsEqualTextsInTheirOrder) {
    list.setAutoRefresh(false);
    list.AddItem(QStringLiteral("b"));
    list.AddItem(QStringLiteral("A"));
    list.AddItem(QStringLiteral("a"));
    list.setSortOrder(-1);
    EXPECT_EQ((QStringList{list.List(0), list.List(1), list.List(2)}),
              (QStringList{"A", "a", "b"}));
    list.setSortOrder(1);
    EXPECT_EQ((QStringList{list.List(0), list.List(1), list.List(2)}),
              (QStringList{"b", "A", "a"}));
    list.setSortOrder(2);
    list.AddItem(QStringLiteral("c"), 0);
    list.Refresh();
    EXPECT_EQ(list.List(0), QStringLiteral("c"));
}

TEST_F(ListItems, VerticalRangeFollowsTheRowsThatFit) {
    Fill(20);
    EXPECT_EQ(list.VisibleRows(), 8);
    ScrollBars::Layer& bars = list.Bars();
    EXPECT_TRUE(bars.GetBarVisible(ScrollBars::kVertical));
    EXPECT_TRUE(list.Window().IsEnabled(ScrollBars::kVertical));
    EXPECT_EQ(bars.GetBarMax(ScrollBars::kVertical), 16);
    EXPECT_EQ(bars.GetLargeChange(ScrollBars::kVertical), 5);
    bars.SetBarValue(ScrollBars::kVertical, 14);
    EXPECT_EQ(bars.GetBarValue(ScrollBars::kVertical), 12);

    list.Clear();
    Fill(5);
    EXPECT_EQ(bars.GetBarValue(ScrollBars::kVertical), 0);
    EXPECT_TRUE(bars.GetBarVisible(ScrollBars::kVertical));
    EXPECT_FALSE(list.Window().IsEnabled(ScrollBars::kVertical));
    list.setAutoHideScrollBars(true);
    EXPECT_FALSE(bars.GetBarVisible(ScrollBars::kVertical));
    EXPECT_FALSE(list.Window().IsShown(ScrollBars::kVertical));
}
