#include "platform/forms/Locale.h"

#include "platform/RuntimeError.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

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

namespace {

// Each ASCII character's place in the collator's order, asked of the collator itself: equal
// places for characters it finds equal (a letter and its capital), 0 for characters it ignores
// altogether (most control characters). Empty where texts are not ordered character by
// character.
std::optional<std::array<char, 128>> MakeAsciiRanks(const QCollator& collator) {
    // Other languages join letters (Czech "ch", Danish "aa") or weigh accents backwards.
    const QLocale::Language language = collator.locale().language();
    if (language != QLocale::C && language != QLocale::English)
        return std::nullopt;
    const auto text = [](char16_t c) { return QString(QChar(c)); };
    std::array<char, 128> ranks{};
    std::vector<char16_t> counted;
    for (char16_t c = 0; c < 128; ++c)
        // Compared after a letter: the collator calls an empty text smaller than any other.
        if (collator.compare(QStringLiteral("a") + QChar(c), QStringLiteral("a")) != 0)
            counted.push_back(c);
    std::stable_sort(counted.begin(), counted.end(), [&](char16_t a, char16_t b) {
        return collator.compare(text(a), text(b)) < 0;
    });
    int rank = 0;
    for (size_t i = 0; i < counted.size(); ++i) {
        if (i == 0 || collator.compare(text(counted[i - 1]), text(counted[i])) != 0) {
            ++rank;
            // Characters of different places must differ at the first level, where the
            // collator looks at the whole text before any second-level difference.
            if (i > 0 && collator.compare(text(counted[i - 1]) + text(counted.back()),
                                          text(counted[i]) + text(counted.front())) >= 0)
                return std::nullopt;
        }
        ranks[counted[i]] = static_cast<char>(rank);
    }
    return ranks;
}

} // namespace

const AsciiSortKeys* AsciiSortKeys::TextNoCase() {
    static thread_local const std::optional<AsciiSortKeys> keys =
        []() -> std::optional<AsciiSortKeys> {
        if (const auto ranks = MakeAsciiRanks(TextNoCaseCollator()))
            return AsciiSortKeys(*ranks);
        return std::nullopt;
    }();
    return keys ? &*keys : nullptr;
}

bool AsciiSortKeys::Append(QStringView text, std::string& key) const {
    const size_t start = key.size();
    key.resize(start + static_cast<size_t>(text.size()));
    char* out = key.data() + start;
    const bool ascii = Write(text, out);
    key.resize(static_cast<size_t>(out - key.data()));
    return ascii;
}

namespace {

struct DateToken {
    QString text;
    bool number;
};

// Numbers and words of a typed date; separators are spaces, "/", ".", "-" and ",". Nothing
// when the text holds anything else.
std::optional<QList<DateToken>> SplitDate(const QString& text) {
    QList<DateToken> tokens;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const bool digit = c.isDigit() && c.unicode() < 128;
        if (digit || c.isLetter()) {
            qsizetype end = i;
            while (end < text.size() && (digit ? text[end].isDigit() && text[end].unicode() < 128
                                               : text[end].isLetter()))
                ++end;
            tokens.append({text.mid(i, end - i), digit});
            i = end;
        } else if (c == u' ' || c == u'/' || c == u'.' || c == u'-' || c == u',' || c == u'\t') {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

// The month a word names, in full or abbreviated, in English or in the locale's language;
// 0 for any other word.
int MonthOfName(const QString& word) {
    const QLocale english(QLocale::English);
    const QLocale local;
    for (int month = 1; month <= 12; ++month) {
        for (const QString& name : {english.monthName(month, QLocale::LongFormat),
                                    english.monthName(month, QLocale::ShortFormat),
                                    local.monthName(month, QLocale::LongFormat),
                                    local.monthName(month, QLocale::ShortFormat),
                                    local.standaloneMonthName(month, QLocale::LongFormat),
                                    local.standaloneMonthName(month, QLocale::ShortFormat)}) {
            QString bare = name;
            bare.remove(u'.');
            if (!bare.isEmpty() && word.compare(bare, Qt::CaseInsensitive) == 0)
                return month;
        }
    }
    return 0;
}

int YearOf(const QString& digits) {
    const int value = digits.toInt();
    if (digits.size() <= 2)
        return value < 30 ? 2000 + value : 1900 + value;
    return digits.size() == 4 ? value : 0;
}

} // namespace

QDate ReadDate(const QString& text) {
    const auto split = SplitDate(text);
    if (!split)
        return {};
    QList<DateToken> numbers;
    QList<qsizetype> words;
    for (qsizetype i = 0; i < split->size(); ++i) {
        if (split->at(i).number)
            numbers.append(split->at(i));
        else
            words.append(i);
    }
    const int thisYear = QDate::currentDate().year();
    int year = 0;
    int month = 0;
    int day = 0;
    if (words.isEmpty()) {
        const QString order = QLocale().dateFormat(QLocale::ShortFormat);
        const bool dayFirst = order.indexOf(u'd') < order.indexOf(u'M');
        const bool yearFirst =
            order.indexOf(u'y') < order.indexOf(u'M') && order.indexOf(u'y') < order.indexOf(u'd');
        if (numbers.size() == 3 && (numbers[0].text.size() == 4 || yearFirst)) {
            year = YearOf(numbers[0].text);
            month = numbers[1].text.toInt();
            day = numbers[2].text.toInt();
        } else if (numbers.size() == 3 || numbers.size() == 2) {
            day = numbers[dayFirst ? 0 : 1].text.toInt();
            month = numbers[dayFirst ? 1 : 0].text.toInt();
            year = numbers.size() == 3 ? YearOf(numbers[2].text) : thisYear;
        }
    } else if (words.size() == 1) {
        month = MonthOfName(split->at(words[0]).text);
        if (numbers.size() == 2) {
            const bool yearFirst = numbers[0].text.size() == 4;
            year = YearOf(numbers[yearFirst ? 0 : 1].text);
            day = numbers[yearFirst ? 1 : 0].text.toInt();
        } else if (numbers.size() == 1 && numbers[0].text.size() == 4) {
            year = YearOf(numbers[0].text);
            day = 1;
        } else if (numbers.size() == 1) {
            year = thisYear;
            day = numbers[0].text.toInt();
        }
    }
    if (year < 100 || numbers.isEmpty())
        return {};
    return QDate(year, month, day);
}

QString FormatDate(const QDate& date) {
    return QLocale(QLocale::English).toString(date, QStringLiteral("dd MMM yyyy"));
}

} // namespace Locale
