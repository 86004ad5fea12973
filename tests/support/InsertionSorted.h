#pragma once

#include "controls/McListBox/McListBox.h"
#include "platform/forms/Locale.h"

#include <QStringList>

// Two records as rows are ordered: field by field (text, icon, bold, any further pieces), each
// without regard to case; a record with fewer fields first.
inline int CompareRecordFields(const QString& a, const QString& b) {
    const QStringList x = a.split(McListBox::kSeparator);
    const QStringList y = b.split(McListBox::kSeparator);
    for (qsizetype k = 0; k < x.size() && k < y.size(); ++k)
        if (const int c = Locale::CompareTextNoCase(x[k], y[k]))
            return c;
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

// The order list rows always had, as the tests' reference: each record inserted before the
// first one it compares `order` against, scanning from the top.
inline QStringList InsertionSorted(const QStringList& records, int order) {
    QStringList sorted;
    for (const QString& record : records) {
        qsizetype at = sorted.size();
        for (qsizetype i = 0; i < sorted.size(); ++i)
            if (CompareRecordFields(record, sorted[i]) == order) {
                at = i;
                break;
            }
        sorted.insert(at, record);
    }
    return sorted;
}
