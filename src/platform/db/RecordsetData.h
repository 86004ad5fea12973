#pragma once

#include "platform/db/Variant.h"

#include <QList>
#include <QString>

namespace db_detail {

// Shared by a record set and the fields taken from it.
struct RecordsetData {
    bool open = false;
    QStringList columns;
    QList<QList<Variant>> rows;
    qsizetype position = 0;
};

} // namespace db_detail
