#include "controls/McListBox/McListBox.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Locale.h"
#include "support/InsertionSorted.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// Rows as they read from outside: one record text each, split on every separator whenever a
// field is read or replaced, and ordered by comparing whole records.
class RecordModel {
public:
    void Add(const QString& text, int index, int icon, bool bold) {
        const QString record = text + McListBox::kSeparator + QString::number(icon) +
                               McListBox::kSeparator + (bold ? "True" : "False");
        records_.insert(index == -1 ? records_.size() : index, record);
    }
    void Replace(int index, int field, const QString& value) {
        QStringList fields = records_[index].split(McListBox::kSeparator);
        fields[field] = value;
        records_[index] = fields.join(McListBox::kSeparator);
    }
    void Remove(int index) { records_.removeAt(index); }
    void Sort(int order) { records_ = InsertionSorted(records_, order); }

    int Count() const { return static_cast<int>(records_.size()); }
    QString Text(int index) const { return Field(index, 0); }
    // The icon number, or -13 for a field that is not a number.
    int Icon(int index) const {
        bool ok = false;
        const double value = Field(index, 1).trimmed().toDouble(&ok);
        return ok ? static_cast<int>(std::nearbyint(value)) : -13;
    }
    bool Bold(int index) const { return Field(index, 2) == QLatin1String("True"); }

private:
    QString Field(int index, int field) const {
        return records_[index].split(McListBox::kSeparator).value(field);
    }
    QStringList records_;
};

int IconOrError(const McListBox& list, int index) {
    try {
        return list.ListIcon(index);
    } catch (const RuntimeError& error) {
        return -error.Number();
    }
}

// Texts from a few pieces, the separator among them, so that records break as they may.
QString RandomText(std::mt19937& random) {
    static const QStringList pieces{"a", "B", "-1", "7", " ", "<%S%>", "True", "b-"};
    QString text;
    const int length = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < length; ++k)
        text += pieces[static_cast<qsizetype>(random() % pieces.size())];
    return text;
}

} // namespace

// Every way of changing rows, mixed at random, against records kept as plain texts: a row
// whose fields are kept apart must read, change and sort as its record text does, also when
// its text holds the separator, and a change must show in the next sort.
TEST(ListRowRecords, RowsReadChangeAndSortAsTheirRecordTextsDo) {
    ASSERT_EQ(Locale::TextNoCaseCollator().locale().language(), QLocale::English);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        ControlContainer container;
        McListBox list;
        list.setContainer(&container);
        list.InitProperties();
        list.setAutoRefresh(false);
        RecordModel model;
        std::mt19937 random(seed * 104729u);
        for (int step = 0; step < 300; ++step) {
            const int count = model.Count();
            const int row = count == 0 ? 0 : static_cast<int>(random() % count);
            switch (count == 0 ? 0 : random() % 6) {
            case 0: {
                const QString text = RandomText(random);
                const int at = random() % 3 == 0 ? static_cast<int>(random() % (count + 1)) : -1;
                const int icon = static_cast<int>(random() % 3) - 1;
                const bool bold = random() % 2 == 0;
                list.AddItem(text, at, icon, bold);
                model.Add(text, at, icon, bold);
                break;
            }
            case 1: {
                const QString text = RandomText(random);
                list.setList(row, text);
                model.Replace(row, 0, text);
                break;
            }
            case 2: {
                const int icon = static_cast<int>(random() % 5) - 2;
                list.setListIcon(row, icon);
                model.Replace(row, 1, QString::number(icon));
                break;
            }
            case 3: {
                const bool bold = random() % 2 == 0;
                list.setListBold(row, bold);
                model.Replace(row, 2, bold ? "True" : "False");
                break;
            }
            case 4:
                list.Remove(row);
                model.Remove(row);
                if (list.SortOrder() != 0)
                    model.Sort(list.SortOrder());
                break;
            default: {
                const int order = random() % 2 == 0 ? -1 : 1;
                list.setSortOrder(order);
                model.Sort(order);
                break;
            }
            }
            if (list.SortOrder() != 0 && random() % 4 == 0) {
                list.Refresh();
                model.Sort(list.SortOrder());
            }
            ASSERT_EQ(list.ListCount(), model.Count()) << "seed " << seed << " step " << step;
            for (int i = 0; i < model.Count(); ++i) {
                ASSERT_EQ(list.List(i), model.Text(i)) << "seed " << seed << " step " << step;
                ASSERT_EQ(IconOrError(list, i), model.Icon(i)) << "seed " << seed;
                ASSERT_EQ(list.ListBold(i), model.Bold(i)) << "seed " << seed;
            }
        }
    }
}
