#pragma once

#include "platform/db/Variant.h"

#include <QString>
#include <memory>

namespace db_detail {
struct RecordsetData;
}

// One column of a record set. It follows the record set's current row: reading Value after a
// move gives the new row's value, as the original component's fields do.
class Field {
public:
    QString Name() const;
    // Raises 3021 when the record set stands on no row (before the first or after the last).
    Variant Value() const;

private:
    friend class Recordset;
    Field(std::shared_ptr<const db_detail::RecordsetData> data, int column)
        : data_(std::move(data))
        , column_(column) {}

    std::shared_ptr<const db_detail::RecordsetData> data_;
    int column_;
};
