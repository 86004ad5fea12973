#include "platform/forms/Locale.h"

#include "platform/RuntimeError.h"

#include <QCollator>
#include <QLocale>
#include <cmath>

namespace Locale {

double Val(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    return text.mid(start, i - start).toDouble();
}

int16_t ToInteger16(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw RuntimeError::Overflow();
    return static_cast<int16_t>(rounded);
}

QString TrimSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

const QCollator& TextNoCaseCollator() {
    static thread_local QCollator collator = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

int CompareTextNoCase(const QString& a, const QString& b) {
    const int r = TextNoCaseCollator().compare(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

QString FormatDate(const QDate& date) {
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(date, QStringLiteral("dd MMM yyyy"));
}

} // namespace Locale
