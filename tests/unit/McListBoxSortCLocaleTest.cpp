#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Locale.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {
class ListSortingInTheCLocale : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        ASSERT_EQ(Locale::TextNoCaseCollator().locale().language(), QLocale::C);
        list.setContainer(&container);
        list.InitProperties();
        list.setAutoRefresh(false);
    }

    ControlContainer container;
    McListBox list;
};
} // namespace

// The C locale (what C.UTF-8 gives) compares texts without regard to case in its own way; the
// comparison is chosen when first used, so this program starts in that locale.
TEST_F(ListSortingInTheCLocale, RowsComeOutInTheOrderTheComparisonGives) {
    std::mt19937 random(20240611u);
    const QStringList words{"Book", "book", "Tickets", "budget", "Zoo", "apple", "BOOK", "tick"};
    list.AddItem(QStringLiteral("Book Tickets"));
    list.AddItem(QStringLiteral("Book budget"));
    list.setSortOrder(-1);
    EXPECT_EQ(list.List(0), QStringLiteral("Book budget"));

    for (int i = 0; i < 400; ++i)
        list.AddItem(words[static_cast<qsizetype>(random() % words.size())] + u' ' +
                     words[static_cast<qsizetype>(random() % words.size())]);
    for (const int order : {-1, 1}) {
        list.setSortOrder(order);
        for (int i = 1; i < list.ListCount(); ++i)
            ASSERT_NE(Locale::CompareTextNoCase(list.List(i), list.List(i - 1)), order)
                << list.List(i - 1).toStdString() << " / " << list.List(i).toStdString();
    }
}

// A large list of long texts, many a prefix of others, and letters past ASCII that tie
// without regard to case: rows come out by text, then icon, and rows that tie keep the order
// they were added in.
TEST_F(ListSortingInTheCLocale, ALargeListIsOrderedByTextAndKeepsTiesInOrder) {
    std::mt19937 random(20240612u);
    const QStringList stems{"Book Birthday gift ", "book birthday GIFT ", "\u00c4rger ",
                            "\u00e4RGER ", "Zoo"};
    // Each tie's texts in the order they were added.
    std::map<QString, QStringList> ties;
    const auto tie = [](const QString& text, int icon) {
        return text.toLower() + u'|' + QString::number(icon);
    };
    for (int i = 0; i < 100000; ++i) {
        QString text = stems[static_cast<qsizetype>(random() % stems.size())];
        if (random() % 4 != 0)
            text += QString::number(random() % 200000);
        const int icon = static_cast<int>(random() % 2);
        list.AddItem(text, -1, icon);
        ties[tie(text, icon)].append(text);
    }
    for (const int order : {-1, 1}) {
        list.setSortOrder(order);
        ASSERT_EQ(list.ListCount(), 100000);
        int outOfOrder = 0;
        std::map<QString, QStringList> listed;
        listed[tie(list.List(0), list.ListIcon(0))].append(list.List(0));
        for (int i = 1; i < list.ListCount(); ++i) {
            const int byText = Locale::CompareTextNoCase(list.List(i), list.List(i - 1));
            const int a = list.ListIcon(i);
            const int b = list.ListIcon(i - 1);
            const int byIcon = a == b ? 0 : (a < b ? -1 : 1);
            outOfOrder += byText == order || (byText == 0 && byIcon == order);
            listed[tie(list.List(i), a)].append(list.List(i));
        }
        EXPECT_EQ(outOfOrder, 0) << "order " << order;
        int reordered = 0;
        for (const auto& [key, texts] : ties)
            reordered += listed[key] != texts;
        EXPECT_EQ(reordered, 0) << "order " << order;
        // Sorted rows pass the refresh's own check: a refresh moves none of them.
        const QString first = list.List(0);
        const QString last = list.List(list.ListCount() - 1);
        list.Refresh();
        EXPECT_EQ(list.List(0), first);
        EXPECT_EQ(list.List(list.ListCount() - 1), last);
    }
}
