#pragma once

#include "platform/db/Field.h"
#include "platform/db/Statement.h"

#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

class Connection;

namespace db_detail {
struct RecordsetData;
}

// The rows of one query, all read at Open: an exact RecordCount, walked from the first row,
// read-only. Copies share the rows and the current position, as references to one record set
// object do in the original runtime. The connection may close afterwards.
//
// Columns declared as dates read back as dates, those declared Boolean as Booleans.
class Recordset {
public:
    Recordset();

    // `cursorType`, `lockType` and `options` are accepted as the program passes them: every
    // record set keeps all its rows and is read-only.
    void Open(const QString& source, Connection& connection, int cursorType = 1, int lockType = -1,
              int options = -1, const QVariantList& values = {});
    void Open(const Statement& statement, Connection& connection, int cursorType = 1,
              int lockType = -1, int options = -1);
    void Close();
    bool IsOpen() const;

    int RecordCount() const;
    // 3021 "Either BOF or EOF is True, or the current record has been deleted. Requested
    // operation requires a current record." when there are no rows (MoveNext: past the end).
    void MoveFirst();
    void MoveNext();
    bool Eof() const;

    // Column names match without regard to case; an unknown name raises 3265. The field is
    // this record set's own, valid while it stays open; copy it to keep it longer.
    const Field& Fields(const QString& columnName) const;
    const Field& Fields(int index) const;
    int FieldCount() const;

    // Moves to the first row at or after the current one that meets `criterion`, or past the
    // last row (Eof) when none does; at Eof it stays there. The criterion is
    // "Column = value" where the value is '?' (the first of `values`), a quoted 'text'
    // (quotes inside doubled) or a number. Texts compare without regard to letter case, as the
    // original component's Find does; a Null field meets no criterion.
    void Find(const QString& criterion, const QVariantList& values = {});
    void Find(const Statement& criterion);

private:
    std::shared_ptr<db_detail::RecordsetData> data_;
    // One field per column, made at Open: a walk reads a few fields on every row, and a field
    // made afresh for each read costs two atomic reference counts.
    std::vector<Field> fields_;
    int ColumnIndex(const QString& columnName) const;
    db_detail::RecordsetData& OpenData() const;
};
