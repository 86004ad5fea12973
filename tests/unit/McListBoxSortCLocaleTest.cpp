#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Locale.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <random>

// The C locale (what C.UTF-8 gives) compares texts without regard to case in its own way; the
// comparison is chosen when first used, so this program starts in that locale.
TEST(ListSortingInTheCLocale, RowsComeOutInTheOrderTheComparisonGives) {
    QLocale::setDefault(QLocale::c());
    ASSERT_EQ(Locale::TextNoCaseCollator().locale().language(), QLocale::C);
    ControlContainer container;
    McListBox list;
    list.setContainer(&container);
    list.InitProperties();
    list.setAutoRefresh(false);
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
