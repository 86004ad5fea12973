#pragma once

#include "platform/forms/Locale.h"

#include <QStringList>

// The order list rows always had, as the tests' reference: each record inserted before the
// first one it compares `order` against, scanning from the top.
inline QStringList InsertionSorted(const QStringList& records, int order) {
    QStringList sorted;
    for (const QString& record : records) {
        qsizetype at = sorted.size();
        for (qsizetype i = 0; i < sorted.size(); ++i)
            if (Locale::CompareTextNoCase(record, sorted[i]) == order) {
                at = i;
                break;
            }
        sorted.insert(at, record);
    }
    return sorted;
}
