#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: turning the fuzzer's bytes into texts, and failing a property
// loudly enough that libFuzzer keeps the input that broke it.
namespace Fuzz {

// The input as texts: fields separated by the byte 0x1f, so a seed file stays readable.
inline QStringList Fields(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList fields;
    for (const QByteArray& field : bytes.split('\x1f'))
        fields << QString::fromUtf8(field);
    return fields;
}

inline QString Field(const QStringList& fields, qsizetype index, const QString& missing = {}) {
    return index < fields.size() ? fields[index] : missing;
}

// Qt's warnings (a font of size 0, an image it cannot read) would drown the fuzzer's own
// output; they report nothing the properties do not check.
void SilenceQtMessages();

[[noreturn]] inline void Broken(const char* property, const QString& detail) {
    std::fprintf(stderr, "broken property: %s\n%s\n", property, qPrintable(detail));
    std::abort();
}

} // namespace Fuzz

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            Fuzz::Broken(#condition, (detail));                                                    \
    } while (false)
