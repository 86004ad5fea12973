// The connection-string parser: any text is read or refused with a DbError, and joining any
// three values then parsing the result gives back exactly those values. Input: the three values
// separated by 0x1f; the whole input is also parsed as a connection string.
#include "FuzzSupport.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList fields = Fuzz::Fields(data, size);
    try {
        ParseConnectionString(fields.join(QChar(0x1f)));
    } catch (const DbError& error) {
        FUZZ_CHECK(error.Number() == DbErrorNumber::BadConnectionString, error.Description());
    }

    const ConnectionSettings values{Fuzz::Field(fields, 0), Fuzz::Field(fields, 1),
                                    Fuzz::Field(fields, 2)};
    const QString joined = JoinConnectionString(values);
    ConnectionSettings back;
    try {
        back = ParseConnectionString(joined);
    } catch (const DbError& error) {
        Fuzz::Broken("a joined string parses", joined);
    }
    FUZZ_CHECK(back.provider == values.provider, joined);
    FUZZ_CHECK(back.dataSource == values.dataSource, joined);
    FUZZ_CHECK(back.databasePassword == values.databasePassword, joined);
    return 0;
}
