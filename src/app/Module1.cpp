#include "app/Module1.h"

namespace Module1 {

QString TextBeforeSeparator(const QString& text, const QString& separator) {
    const qsizetype position = text.indexOf(separator, 0, Qt::CaseSensitive) + 1;
    if (position < 2)
        return text;
    QString before = text.left(position - 1);
    qsizetype start = 0;
    qsizetype end = before.size();
    while (start < end && before[start] == u' ')
        ++start;
    while (end > start && before[end - 1] == u' ')
        --end;
    return before.mid(start, end - start);
}

} // namespace Module1
