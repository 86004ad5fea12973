#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QDate>
#include <gtest/gtest.h>

// Cells are read as their column's declared type says whenever they are read, in whatever
// order, through whichever spelling of a column's name, and by fields taken before a move.
TEST(RecordsetCells, EveryCellReadsAsItsColumnsTypeInAnyOrderAndSpelling) {
    TempDatabase db;
    Connection connection;
    connection.Open(db.ConnectionString());
    connection.Execute(QStringLiteral("CREATE TABLE tblCells (Due DATE, Done BOOLEAN, "
                                      "Amount INTEGER, Note TEXT)"));
    connection.Execute(QStringLiteral("INSERT INTO tblCells VALUES "
                                      "('2026-12-24', 1, 7, 'first'), "
                                      "('not a date', 0, 2.5, ''), "
                                      "(NULL, 2.5, NULL, NULL), "
                                      "(20261224, 'yes', 'seven', x'C3A9'), "
                                      "('2027-01-31T10:00', 0.0, -4, '2027-01-31')"));
    const Variant expected[][4] = {
        {Variant(QDate(2026, 12, 24)), Variant(true), Variant(7), Variant("first")},
        {Variant("not a date"), Variant(false), Variant(2.5), Variant("")},
        {Variant(), Variant(true), Variant(), Variant()},
        {Variant(20261224), Variant("yes"), Variant("seven"), Variant("\xC3\xA9")},
        {Variant(QDate(2027, 1, 31)), Variant(false), Variant(-4), Variant("2027-01-31")},
    };
    // Each column asked for by two spellings, one of them twice in a row.
    const char* const names[][2] = {
        {"Due", "DUE"}, {"done", "Done"}, {"AMOUNT", "amount"}, {"Note", "note"}};

    Recordset cells;
    cells.Open(QStringLiteral("SELECT Due, Done, Amount, Note, Note AS NOTE2 FROM tblCells"),
               connection);
    ASSERT_EQ(cells.RecordCount(), 5);
    const Field note = cells.Fields(QStringLiteral("note"));
    // Walked twice, the second time with the columns read last to first.
    for (int pass = 0; pass < 2; ++pass) {
        cells.MoveFirst();
        for (int row = 0; row < 5; ++row) {
            for (int k = 0; k < 4; ++k) {
                const int column = pass == 0 ? k : 3 - k;
                for (const char* name : {names[column][0], names[column][1], names[column][1]})
                    ASSERT_EQ(cells.Fields(QString::fromLatin1(name)).Value(),
                              expected[row][column])
                        << "row " << row << ", " << name;
                ASSERT_EQ(cells.Fields(column).Value(), expected[row][column]);
            }
            ASSERT_EQ(note.Value(), expected[row][3]) << "row " << row;
            ASSERT_EQ(cells.Fields(QStringLiteral("note2")).Value(), expected[row][3]);
            cells.MoveNext();
        }
        EXPECT_TRUE(cells.Eof());
    }
}
