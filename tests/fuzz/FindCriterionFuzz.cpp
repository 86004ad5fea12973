// The Find criterion parser over a record set of awkward group names: any criterion is met or
// refused with a DbError, and a name written as a quoted literal (quotes doubled) finds the
// same row as the name bound as a value. Input: the criterion; also taken as a group name.
#include "FuzzSupport.h"

#include "app/InstalledDatabase.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

Recordset* groups = nullptr;

qsizetype PositionAfterFind(const QString& criterion, const QVariantList& values) {
    groups->MoveFirst();
    groups->Find(criterion, values);
    if (groups->Eof())
        return -1;
    return groups->Fields(QStringLiteral("GroupID")).Value().ToInteger();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    Fuzz::SilenceQtMessages();
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Main.mdb"));
    InstalledDatabase::Create(path);
    static Connection connection;
    connection.Open(ConnectionString(folder.path()));
    for (const char* name : {"O'Brien", "''", "a = b", "  spaced  ", "\xc3\xa9t\xc3\xa9", "?", "12",
                             "'quoted'", "GroupName = 'x'"})
        connection.Execute(Statements::S7(QStringLiteral("1"), QString::fromUtf8(name)));
    static Recordset rows;
    rows.Open(Statements::S1(), connection);
    groups = &rows;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QVariantList& values : {QVariantList{}, QVariantList{text}}) {
        try {
            PositionAfterFind(text, values);
        } catch (const DbError& error) {
            FUZZ_CHECK(error.Number() == DbErrorNumber::BadArguments ||
                           error.Number() == DbErrorNumber::ItemNotFound,
                       error.Description());
        }
    }

    const qsizetype bound = PositionAfterFind(Statements::F1(text).text, {text});
    const QString literal =
        QStringLiteral("GroupName = '") + QString(text).replace(u'\'', QLatin1String("''")) + u'\'';
    FUZZ_CHECK(PositionAfterFind(literal, {}) == bound, literal);
    return 0;
}
