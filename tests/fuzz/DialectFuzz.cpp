// The statement dialect translation: any statement text is translated or refused with a
// DbError. Without date columns only the TRUE and FALSE words change, so a text without them
// comes back unchanged and a translated text translates to itself. Input: statement, 0x1f,
// bound values separated by 0x1f.
#include "FuzzSupport.h"

#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"

namespace {

QList<Dialect::Column> WithDates(const QString&) {
    return {{QStringLiteral("ID"), QStringLiteral("INTEGER")},
            {QStringLiteral("Name"), QStringLiteral("TEXT")},
            {QStringLiteral("DueDate"), QStringLiteral("DATE")},
            {QStringLiteral("Done"), QStringLiteral("BOOLEAN")}};
}

QList<Dialect::Column> WithoutDates(const QString&) {
    return {{QStringLiteral("ID"), QStringLiteral("INTEGER")},
            {QStringLiteral("Name"), QStringLiteral("TEXT")}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList fields = Fuzz::Fields(data, size);
    const QString text = fields.value(0);
    QVariantList values;
    for (qsizetype i = 1; i < fields.size(); ++i)
        values << fields[i];

    QVariantList dated = values;
    try {
        const QString translated = Dialect::Translate(text, dated, WithDates);
        FUZZ_CHECK(dated.size() == values.size(), translated);
    } catch (const DbError& error) {
        FUZZ_CHECK(error.Number() == DbErrorNumber::TypeMismatch, error.Description());
    }

    QVariantList plain = values;
    const QString once = Dialect::Translate(text, plain, WithoutDates);
    FUZZ_CHECK(plain == values, text);
    if (!text.contains(QLatin1String("true"), Qt::CaseInsensitive) &&
        !text.contains(QLatin1String("false"), Qt::CaseInsensitive))
        FUZZ_CHECK(once == text, text + QStringLiteral("\n->\n") + once);
    FUZZ_CHECK(Dialect::Translate(once, plain, WithoutDates) == once,
               text + QStringLiteral("\n->\n") + once);
    return 0;
}
