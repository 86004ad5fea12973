#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

// The statement dialect of the original data store, carried onto the embedded engine:
//  - the literals TRUE and FALSE become 1 and 0 (outside quotes and brackets);
//  - bracketed names, and names in any letter case, the engine understands as they are;
//  - a value written into a date column, as a quoted literal or a bound '?', in the form
//    "dd MMM yyyy" (English month abbreviation or the current locale's) or ISO, is stored as
//    ISO "yyyy-MM-dd"; any other text is refused with "Data type mismatch in criteria
//    expression." before anything runs. Date columns are those whose declared type names a
//    date or time; the targets are the values of INSERT ... VALUES and of UPDATE ... SET.
namespace Dialect {

struct Column {
    QString name;
    QString declaredType;
};
// The columns of a table in table order, or none when the table is unknown.
using ColumnLookup = std::function<QList<Column>(const QString& table)>;

// True for declared types that the store reads back as dates or as Booleans.
bool IsDateType(const QString& declaredType);
bool IsBooleanType(const QString& declaredType);

// Reads a date as the program writes it; an invalid date when the text is none.
QDate ReadDateText(const QString& text);

// The text to hand to the engine. Bound values headed for date columns are rewritten in
// place. Throws DbError (TypeMismatch) for a date that cannot be read.
QString Translate(const QString& text, QVariantList& values, const ColumnLookup& columns);

} // namespace Dialect
