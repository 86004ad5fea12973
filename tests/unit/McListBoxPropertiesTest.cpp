#include "controls/McListBox/McListBox.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/PropertyStore.h"
#include "support/PlacedList.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class ListProperties : public PlacedList {
protected:
    void SetUp() override { Place(); }
};

QString Folder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace

TEST_F(ListProperties, NewControlStartsWithItsDefaults) {
    EXPECT_EQ(list.BackColor(), 0x00FFFFFFu);
    EXPECT_EQ(list.ForeColor(), 0x80000012u);
    EXPECT_EQ(list.SelColor(), 0x00FF8C1Au);
    EXPECT_EQ(list.SelForeColor(), 0x00FFFFFFu);
    EXPECT_EQ(list.GridColor(), 0x8000000Fu);
    EXPECT_EQ(list.BackGradientCol(), 0x00C0C0C0u);
    EXPECT_EQ(list.SelGradientCol(), 0x00FFFFFFu);
    EXPECT_EQ(list.RowHeight(), std::max(22, list.DrawingSurface().TextHeight("A")));
    EXPECT_EQ(list.SelectionStyle(), 1);
    EXPECT_TRUE(list.IconFocus());
    EXPECT_TRUE(list.AutoRefresh());
    EXPECT_EQ(list.Filter(), QStringLiteral("*.*"));
    EXPECT_EQ(list.Mode(), 0);
    EXPECT_EQ(list.BorderStyle(), 512);
    EXPECT_EQ(list.Appearance(), 1);
    EXPECT_EQ(list.Path(), QCoreApplication::applicationDirPath() + McListBox::kPathSeparator);
    EXPECT_EQ(list.Font().family(), container.AmbientFont().family());
}

TEST_F(ListProperties, RowHeightIsNeverBelowTheFontsLetterHeight) {
    const int letter = list.DrawingSurface().TextHeight(QStringLiteral("A"));
    ASSERT_GT(letter, 5);
    list.setRowHeight(5);
    EXPECT_EQ(list.RowHeight(), letter);
    list.setRowHeight(30);
    EXPECT_EQ(list.RowHeight(), 30);
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPixelSize(40);
    list.setFont(large);
    EXPECT_GE(list.RowHeight(), 40);
    EXPECT_EQ(list.RowHeight(), list.DrawingSurface().TextHeight(QStringLiteral("A")));
    EXPECT_EQ(container.ChangedProperties(), (QStringList{"RowHeight", "RowHeight", "Font"}));
}

TEST_F(ListProperties, PathGetsItsSeparatorAndIgnoresRepeatsAndTheTreeMode) {
    list.setPath(Folder());
    EXPECT_EQ(list.Path(), Folder() + McListBox::kPathSeparator);
    list.setPath(QString());
    EXPECT_EQ(list.Path(), QString());
    container.ClearChangedProperties();
    list.setPath(QString());
    EXPECT_TRUE(container.ChangedProperties().isEmpty());
    list.setMode(5);
    container.ClearChangedProperties();
    list.setPath(Folder());
    EXPECT_EQ(list.Path(), QString());
    EXPECT_TRUE(container.ChangedProperties().isEmpty());
}

TEST_F(ListProperties, ModeAndFilterChangesReListOnlyWhenTheyChange) {
    list.setAutoRefresh(false);
    list.AddItem(QStringLiteral("kept"));
    list.setMode(0);
    list.setFilter(QStringLiteral("*.*"));
    EXPECT_EQ(Rows(), QStringList{QStringLiteral("kept")});
    EXPECT_EQ(container.ChangedProperties(), (QStringList{"AutoRefresh", "Filter"}));
    // Every other re-listing replaces the host's rows, in mode 0 by nothing.
    list.setShowHiddenFiles(false);
    EXPECT_TRUE(Rows().isEmpty());

    list.setPath(Folder());
    list.setMode(3);
    list.setFilter(QStringLiteral("*Properties*"));
    EXPECT_TRUE(Rows().contains(QStringLiteral("unit_McListBoxPropertiesTest")));
    list.setMode(0);
    EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(ListProperties, AutoRefreshRefreshesOnlyWhenTurnedOn) {
    const int before = list.RefreshCount();
    list.setAutoRefresh(false);
    EXPECT_EQ(list.RefreshCount(), before);
    list.setAutoRefresh(true);
    EXPECT_EQ(list.RefreshCount(), before + 1);
}

TEST_F(ListProperties, MultiSelectKeepsOnlyTheCurrentRowSelected) {
    for (int i = 0; i < 5; ++i)
        list.AddItem(QStringLiteral("%1").arg(i));
    list.Refresh();
    list.setListIndex(3);
    list.SelectAll();
    QSignalSpy changes(&list, &McListBox::SelChange);
    list.setMultiSelect(true);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.SelItem(0), 3);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ListProperties, AppearanceOutside16BitsOverflowsAndStaysUnchanged) {
    list.setAppearance(0);
    try {
        list.setAppearance(40000);
        FAIL() << "no overflow";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
    EXPECT_EQ(list.Appearance(), 0);
}

TEST_F(ListProperties, SettersNotifyTheContainerByName) {
    list.setForeColor(1);
    list.setSelGradient(5);
    list.setGridLines(true);
    list.setImageList([](int) { return QImage(); });
    list.setFlatScrollBar(true);
    list.setIconExtractSize(1);
    EXPECT_EQ(container.ChangedProperties(), (QStringList{"ForeColor", "SelGradient", "GridLines",
                                                          "FlatScrollBar", "IconExtractSize"}));
}

TEST_F(ListProperties, SavingDefaultsStoresOnlyPictureFontAndPath) {
    PropertyStore store;
    list.WriteProperties(store);
    EXPECT_EQ(store.Keys(), (QStringList{"Picture", "Font", "Path"}));
    list.setPath(QString());
    PropertyStore empty;
    list.WriteProperties(empty);
    EXPECT_EQ(empty.Keys(), (QStringList{"Picture", "Font"}));
}

TEST_F(ListProperties, SavedKeysFollowTheirFixedOrder) {
    list.setShowHiddenFiles(true);
    list.setMode(2);
    list.setGridColor(0x00FF0000);
    list.setBackColor(0x00C0FFC0);
    list.setSelectionStyle(2);
    list.setFlatScrollBar(true);
    PropertyStore store;
    list.WriteProperties(store);
    EXPECT_EQ(store.Keys(),
              (QStringList{"Picture", "Font", "BackColor", "GridColor", "SelectionStyle",
                           "FlatScrollBar", "Mode", "Path", "ShowHiddenFiles"}));
    EXPECT_EQ(store.ReadProperty("GridColor").toLongLong(), 0x00FF0000);
}

TEST_F(ListProperties, LoadingRestoresSavedValuesAndTheFontRule) {
    PropertyStore store;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    store.WriteProperty("Font", font);
    store.WriteProperty("RowHeight", 10);
    store.WriteProperty("ForeColor", qint64(0x80000011u));
    store.WriteProperty("SelGradient", 5);
    store.WriteProperty("FullRowSelect", true);
    store.WriteProperty("Path", QStringLiteral("kept as stored"));

    ControlContainer other;
    McListBox loaded;
    loaded.setContainer(&other);
    loaded.ReadProperties(store);
    EXPECT_EQ(loaded.RowHeight(), loaded.DrawingSurface().TextHeight(QStringLiteral("A")));
    EXPECT_GE(loaded.RowHeight(), 30);
    EXPECT_EQ(loaded.ForeColor(), 0x80000011u);
    EXPECT_EQ(loaded.SelGradient(), 5);
    EXPECT_TRUE(loaded.FullRowSelect());
    EXPECT_EQ(loaded.Path(), QStringLiteral("kept as stored"));
    EXPECT_EQ(loaded.BackColor(), 0x00FFFFFFu);
    EXPECT_EQ(loaded.ListIndex(), -1);
    // A system colour saved with its signed spelling reads the same.
    PropertyStore signedStore;
    signedStore.WriteProperty("GridColor", static_cast<int>(0x80000011u));
    loaded.ReadProperties(signedStore);
    EXPECT_EQ(loaded.GridColor(), 0x80000011u);
}

TEST_F(ListProperties, BorderStyleDecidesTheEdgeAroundTheClientArea) {
    PropertyStore flat;
    flat.WriteProperty("BorderStyle", 0);
    ControlContainer other;
    McListBox withoutEdge;
    withoutEdge.setContainer(&other);
    withoutEdge.resize(100, 100);
    withoutEdge.ReadProperties(flat);
    McListBox withEdge;
    withEdge.setContainer(&other);
    withEdge.resize(100, 100);
    withEdge.ReadProperties(PropertyStore());
    EXPECT_EQ(withoutEdge.BorderStyle(), 0);
    EXPECT_EQ(withEdge.BorderStyle(), 512);
    EXPECT_EQ(withoutEdge.ClientHeight() - withEdge.ClientHeight(), 4);

    // The client area the edge gives back is answered like a resize: 178 pixels hold eight rows
    // of 22 where 174 held seven, and the range follows.
    list.setClientSize(200, 174);
    for (int i = 0; i < 20; ++i)
        list.AddItem(QStringLiteral("row %1").arg(i));
    list.Refresh();
    ASSERT_EQ(list.VisibleRows(), 7);
    list.setBorderStyle(0);
    EXPECT_EQ(list.VisibleRows(), 8);
    EXPECT_EQ(list.Bars().GetBarMax(ScrollBars::kVertical), 20 - 8 + 4);
    list.setAppearance(0);
    EXPECT_EQ(list.ClientHeight(), 180);
    EXPECT_EQ(list.RowPitch(), 180 / 8.0);
}

TEST_F(ListProperties, SaveAndLoadRoundTrip) {
    list.setSelColor(0x000080FF);
    list.setSortOrder(-1);
    list.setTextAlignment(2);
    list.setBackGradient(6);
    list.setAutoRefresh(false);
    list.setShowIcon(true);
    PropertyStore store;
    list.WriteProperties(store);
    ControlContainer other;
    McListBox copy;
    copy.setContainer(&other);
    copy.ReadProperties(store);
    EXPECT_EQ(copy.SelColor(), 0x000080FFu);
    EXPECT_EQ(copy.SortOrder(), -1);
    EXPECT_EQ(copy.TextAlignment(), 2);
    EXPECT_EQ(copy.BackGradient(), 6);
    EXPECT_FALSE(copy.AutoRefresh());
    EXPECT_TRUE(copy.ShowIcon());
    EXPECT_EQ(copy.Path(), list.Path());
    EXPECT_EQ(copy.Font().family(), list.Font().family());
}

TEST_F(ListProperties, FlatScrollBarWithoutPlatformSupportStillScrolls) {
    list.Window().SetFlatSupportAvailable(false);
    list.setFlatScrollBar(true);
    EXPECT_TRUE(list.FlatScrollBar());
    EXPECT_TRUE(list.Bars().UseStandardBars());
    for (int i = 0; i < 20; ++i)
        list.AddItem(QStringLiteral("%1").arg(i));
    list.Refresh();
    list.Bars().SetBarValue(ScrollBars::kVertical, 3);
    EXPECT_EQ(list.Bars().GetBarValue(ScrollBars::kVertical), 3);

    // With the platform's flat bars, turning them off again keeps working standard bars.
    list.Window().SetFlatSupportAvailable(true);
    list.setFlatScrollBar(true);
    EXPECT_FALSE(list.Bars().UseStandardBars());
    EXPECT_TRUE(list.Window().FlatLook());
    list.setFlatScrollBar(false);
    EXPECT_TRUE(list.Bars().UseStandardBars());
    EXPECT_FALSE(list.Window().FlatLook());
    list.Bars().SetBarValue(ScrollBars::kVertical, 5);
    EXPECT_EQ(list.Bars().GetBarValue(ScrollBars::kVertical), 5);
}
