#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

// A table with a date column in the middle, as the to-do table has.
QList<Dialect::Column> Columns(const QString& table) {
    if (table.compare(QLatin1String("tblThings"), Qt::CaseInsensitive) != 0)
        return {};
    return {{QStringLiteral("ID"), QStringLiteral("INTEGER")},
            {QStringLiteral("Name"), QStringLiteral("TEXT")},
            {QStringLiteral("Due"), QStringLiteral("DATE")},
            {QStringLiteral("Done"), QStringLiteral("BOOLEAN")}};
}

QString Translate(const QString& text, QVariantList& values) {
    return Dialect::Translate(text, values, Columns);
}

QString Translate(const QString& text) {
    QVariantList none;
    return Translate(text, none);
}

} // namespace

TEST(Dialect, BooleanLiteralsBecomeNumbersOnlyOutsideQuotesAndBrackets) {
    EXPECT_EQ(Translate(QStringLiteral("SELECT * FROM [t] WHERE [Done]=FALSE AND x=true")),
              QStringLiteral("SELECT * FROM [t] WHERE [Done]=0 AND x=1"));
    EXPECT_EQ(Translate(QStringLiteral("SELECT 'TRUE', 'it''s FALSE', [TRUE], \"FALSE\" FROM t")),
              QStringLiteral("SELECT 'TRUE', 'it''s FALSE', [TRUE], \"FALSE\" FROM t"));
    EXPECT_EQ(Translate(QStringLiteral("SELECT TRUEISH, xFALSE FROM t -- TRUE")),
              QStringLiteral("SELECT TRUEISH, xFALSE FROM t -- TRUE"));
    EXPECT_EQ(Translate(QStringLiteral("UPDATE t SET a=TRUE WHERE b='x'")),
              QStringLiteral("UPDATE t SET a=1 WHERE b='x'"));
}

TEST(Dialect, DatesWrittenToDateColumnsBecomeIsoWhateverTheFormOfTheStatement) {
    EXPECT_EQ(Translate(QStringLiteral(
                  "INSERT INTO [tblThings](id,name,due) VALUES(1,'05 Mar 2024','05 Mar 2024')")),
              QStringLiteral(
                  "INSERT INTO [tblThings](id,name,due) VALUES(1,'05 Mar 2024','2024-03-05')"));
    // Without a column list the values follow the table's order.
    EXPECT_EQ(Translate(QStringLiteral("INSERT INTO tblThings VALUES(1, 'x', '17 Dec 2023', 0)")),
              QStringLiteral("INSERT INTO tblThings VALUES(1, 'x', '2023-12-17', 0)"));

    QVariantList values{QStringLiteral("01 Jan 2025"), QStringLiteral("31 Dec 2024")};
    EXPECT_EQ(Translate(QStringLiteral("INSERT INTO tblThings(Name,DUE) VALUES(?,?)"), values),
              QStringLiteral("INSERT INTO tblThings(Name,DUE) VALUES(?,?)"));
    EXPECT_EQ(values, (QVariantList{QStringLiteral("01 Jan 2025"), QStringLiteral("2024-12-31")}));

    QVariantList update{QStringLiteral("09 Sep 2024"), QStringLiteral("10 Oct 2024")};
    EXPECT_EQ(Translate(QStringLiteral("UPDATE tblThings SET [Due] = ?, Done=TRUE WHERE Name=? "
                                       "AND Due='01 Jan 2020'"),
                        update),
              QStringLiteral("UPDATE tblThings SET [Due] = ?, Done=1 WHERE Name=? AND "
                             "Due='01 Jan 2020'"));
    EXPECT_EQ(update, (QVariantList{QStringLiteral("2024-09-09"), QStringLiteral("10 Oct 2024")}));

    QVariantList typed{QDate(2024, 2, 29), QVariant()};
    Translate(QStringLiteral("INSERT INTO tblThings(Due,Name) VALUES(?,?)"), typed);
    EXPECT_EQ(typed, (QVariantList{QStringLiteral("2024-02-29"), QVariant()}));
}

TEST(Dialect, DatesInTheCurrentLocalesMonthNamesAreReadToo) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString french = QLocale().toString(QDate(2024, 2, 7), QStringLiteral("dd MMM yyyy"));
    QVariantList values{french};
    Translate(QStringLiteral("INSERT INTO tblThings(Due) VALUES(?)"), values);
    QLocale::setDefault(saved);
    EXPECT_EQ(values.front().toString(), QStringLiteral("2024-02-07")) << french.toStdString();
}

TEST(Dialect, TextsThatAreNoDateAreRefusedForDateColumns) {
    for (const QString& bad : {QStringLiteral("31 Feb 2024"), QStringLiteral("tomorrow"),
                               QStringLiteral(""), QStringLiteral("05 Mrz 2024")}) {
        QVariantList values{bad};
        try {
            Translate(QStringLiteral("INSERT INTO tblThings(Name,Due) VALUES('n',?)"), values);
            ADD_FAILURE() << "accepted " << bad.toStdString();
        } catch (const DbError& error) {
            EXPECT_EQ(error.Number(), DbErrorNumber::TypeMismatch);
            EXPECT_EQ(error.Description(),
                      QStringLiteral("Data type mismatch in criteria expression."));
        }
    }
    EXPECT_THROW(Translate(QStringLiteral("INSERT INTO tblThings VALUES(1,'x','soon',0)")),
                 DbError);
    // The same text is fine where no date is expected.
    EXPECT_NO_THROW(Translate(QStringLiteral("INSERT INTO tblThings(Name) VALUES('soon')")));
    EXPECT_NO_THROW(Translate(QStringLiteral("INSERT INTO tblOther(Due) VALUES('soon')")));
}
