#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Locale.h"
#include "support/InsertionSorted.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <random>

namespace {

class ListSorting : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        list.setContainer(&container);
        list.InitProperties();
        list.setAutoRefresh(false);
    }

    // Short texts from few letters in mixed case, so that many records compare equal
    // without being the same text; accented letters take the rows off their ASCII keys.
    QStringList RandomRecords(unsigned seed, int count, bool accents) {
        std::mt19937 random(seed);
        const QString letters =
            accents ? QStringLiteral("aAbBcC -1\u00e9\u00c9") : QStringLiteral("aAbBcC -1");
        QStringList records;
        for (int i = 0; i < count; ++i) {
            QString text;
            const int length = 1 + static_cast<int>(random() % 3);
            for (int k = 0; k < length; ++k)
                text += letters[static_cast<qsizetype>(random() % letters.size())];
            const int icon = static_cast<int>(random() % 3) - 1;
            const bool bold = random() % 2 == 0;
            list.AddItem(text, -1, icon, bold);
            records << text + McListBox::kSeparator + QString::number(icon) +
                           McListBox::kSeparator + (bold ? "True" : "False");
        }
        return records;
    }

    QStringList StoredRecords() const {
        QStringList records;
        for (int i = 0; i < list.ListCount(); ++i)
            records << list.List(i) + McListBox::kSeparator + QString::number(list.ListIcon(i)) +
                           McListBox::kSeparator + (list.ListBold(i) ? "True" : "False");
        return records;
    }

    ControlContainer container;
    McListBox list;
};

} // namespace

TEST_P(ListSorting, SortOrderGivesTheInsertionSortsOrder) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        list.Clear();
        const QStringList records = RandomRecords(seed * 7919u, 300, seed % 2 == 0);
        list.setSortOrder(GetParam());
        ASSERT_EQ(StoredRecords(), InsertionSorted(records, GetParam())) << "seed " << seed;
        // Sorting sorted rows again changes nothing.
        list.Refresh();
        ASSERT_EQ(StoredRecords(), InsertionSorted(records, GetParam())) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(AscendingAndDescending, ListSorting, ::testing::Values(-1, 1));

TEST(ListSortingOther, OrdersOtherThanPlusOrMinusOneKeepTheRows) {
    ControlContainer container;
    McListBox list;
    list.setContainer(&container);
    list.InitProperties();
    list.setAutoRefresh(false);
    for (const char* text : {"c", "a", "b"})
        list.AddItem(QString::fromLatin1(text));
    list.setSortOrder(3);
    EXPECT_EQ((QStringList{list.List(0), list.List(1), list.List(2)}),
              (QStringList{"c", "a", "b"}));
}

TEST(ListSortingOther, CaseDoesNotDecideTheOrderInAnEnglishLocale) {
    ASSERT_EQ(Locale::TextNoCaseCollator().locale().language(), QLocale::English);
    ControlContainer container;
    McListBox list;
    list.setContainer(&container);
    list.InitProperties();
    list.setAutoRefresh(false);
    for (const char* text : {"Book Tickets", "book zoo", "Book budget", "BOOK apple"})
        list.AddItem(QString::fromLatin1(text));
    list.setSortOrder(-1);
    EXPECT_EQ((QStringList{list.List(0), list.List(1), list.List(2), list.List(3)}),
              (QStringList{"BOOK apple", "Book budget", "Book Tickets", "book zoo"}));
}
