// The design loader: any JSON object loads, and what it saves loads back to the same design
// (saving once more gives the same text). Input: a JSON document.
#include "FuzzSupport.h"

#include "platform/forms/PropertyStore.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Designs are compiled into the program: a picture is inline data or one of its resources,
// never a file path (a path such as /dev/zero would only test the file system).
QJsonValue WithoutFilePaths(const QJsonValue& value) {
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue& item : value.toArray())
            array.append(WithoutFilePaths(item));
        return array;
    }
    if (!value.isObject())
        return value;
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString text = it.value().toString();
        if (it.key() == QLatin1String("picture") && it.value().isString() &&
            !text.startsWith(QLatin1String("data:")) && !text.startsWith(QLatin1String(":/")))
            it.value() = QString();
        else
            it.value() = WithoutFilePaths(it.value());
    }
    return object;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    Fuzz::SilenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!document.isObject())
        return 0;
    const QJsonObject design = WithoutFilePaths(document.object()).toObject();
    const QJsonObject saved = PropertyStore::FromJson(design).ToJson();
    const QJsonObject again = PropertyStore::FromJson(saved).ToJson();
    FUZZ_CHECK(again == saved, QString::fromUtf8(QJsonDocument(saved).toJson()) +
                                   QStringLiteral("\n->\n") +
                                   QString::fromUtf8(QJsonDocument(again).toJson()));
    return 0;
}
