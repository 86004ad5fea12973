// The id routine of the list rows: TextBeforeSeparator over any text and separator, and the
// row id read from it. Input: text, 0x1f, separator ("-" when absent).
#include "FuzzSupport.h"

#include "app/Module1.h"
#include "platform/RuntimeError.h"
#include "platform/forms/Locale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList fields = Fuzz::Fields(data, size);
    const QString text = Fuzz::Field(fields, 0);
    const QString separator = Fuzz::Field(fields, 1, QStringLiteral("-"));

    const QString result = Module1::TextBeforeSeparator(text, separator);
    const qsizetype first = text.indexOf(separator, 0, Qt::CaseSensitive);
    if (first < 1) {
        FUZZ_CHECK(result == text, text);
    } else {
        FUZZ_CHECK(result == Locale::TrimSpaces(text.left(first)), text);
        FUZZ_CHECK(!separator.isEmpty() && !text.left(first).contains(separator), text);
    }

    try {
        Module1::RowId(text);
    } catch (const RuntimeError& error) {
        FUZZ_CHECK(error.Number() == 6, error.Description());
    }
    return 0;
}
