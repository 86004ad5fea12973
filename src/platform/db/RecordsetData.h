#pragma once

#include "platform/db/Variant.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

namespace db_detail {

// Shared by a record set and the fields taken from it.
//
// The cells are kept as the engine gave them and made into values only when read: a walk
// that reads two columns of many does not pay for converting (and parsing dates in) the rest.
struct RecordsetData {
    enum class Reading : uint8_t { Plain, Boolean, Date };
    enum class Kind : uint8_t { Null, Integer, Real, Bytes };
    struct Cell {
        // The integer, the real number's bits, or where the bytes start in `bytes`.
        qint64 value = 0;
        int size = 0;
        Kind kind = Kind::Null;
    };

    RecordsetData() = default;
    // Takes the storage a record set that went before left (see Recordset.cpp), for rows to
    // be read into.
    void TakeSpareStorage();
    // Leaves the rows' storage to the next record set.
    ~RecordsetData();
    RecordsetData(const RecordsetData&) = delete;
    RecordsetData& operator=(const RecordsetData&) = delete;

    // The value of one cell, read as its column's declared type says.
    Variant Value(qsizetype row, int column) const;

    bool open = false;
    QStringList columns;
    std::vector<Reading> readings;
    std::vector<Cell> cells;
    std::vector<char> bytes;
    qsizetype rowCount = 0;
    qsizetype position = 0;
    // Column numbers by the spelling a caller used, found without regard to case once.
    mutable std::vector<std::pair<QString, int>> names;
};

} // namespace db_detail
