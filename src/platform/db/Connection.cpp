#include "platform/db/Connection.h"

#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <sqlite3.h>

namespace {

constexpr int kBusyTimeoutMs = 5000;
// Constant-initialised: a program may open its database before main() runs.
constexpr char kProvider[] = "Microsoft.Jet.OLEDB.4.0";

struct HandleDeleter {
    void operator()(sqlite3* handle) const noexcept { sqlite3_close_v2(handle); }
};

DbError Closed() {
    return {DbErrorNumber::ObjectClosed,
            QStringLiteral("Operation is not allowed when the object is closed.")};
}

DbError MissingFile(const QString& path) {
    return {DbErrorNumber::ProviderFailure, QStringLiteral("Could not find file '%1'.").arg(path),
            SQLITE_CANTOPEN};
}

bool HasPlainHeader(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

QString Quoted(const QString& name) {
    return u'"' + QString(name).replace(u'"', QLatin1String("\"\"")) + u'"';
}

} // namespace

struct Connection::Impl {
    std::unique_ptr<sqlite3, HandleDeleter> handle;
    QString filePath;
};

void Connection::StatementDeleter::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

ConnectionSettings ParseConnectionString(const QString& connectionString) {
    ConnectionSettings settings;
    for (const QString& part : connectionString.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = part.left(equals).trimmed();
        QString value = part.mid(equals + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0)
            settings.provider = value;
        else if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            settings.dataSource = value;
        else if (key.compare(QLatin1String("Jet OLEDB:Database Password"), Qt::CaseInsensitive) ==
                 0)
            settings.databasePassword = value;
    }
    return settings;
}

QString LocalDataSourcePath(const QString& dataSource) {
    return QDir::cleanPath(QString(dataSource).replace(u'\\', u'/'));
}

Connection::Connection()
    : impl_(std::make_unique<Impl>()) {}
Connection::~Connection() = default;
Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;

void Connection::Open(const QString& connectionString, const QString& /*user*/,
                      const QString& /*password*/, int /*options*/) {
    if (IsOpen())
        throw DbError(DbErrorNumber::ObjectOpen,
                      QStringLiteral("Operation is not allowed when the object is open."));
    const ConnectionSettings settings = ParseConnectionString(connectionString);
    if (!settings.provider.isEmpty() &&
        settings.provider.compare(QLatin1String(kProvider), Qt::CaseInsensitive))
        throw DbError(
            DbErrorNumber::ProviderNotFound,
            QStringLiteral("Provider cannot be found. It may not be properly installed."));
    const QString path = LocalDataSourcePath(settings.dataSource);
    const QFileInfo info(path);
    if (settings.dataSource.isEmpty() || !info.exists() || info.isDir())
        throw MissingFile(path);
    // The engine would take an empty file for a new database and write into it.
    if (info.size() == 0)
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("Unrecognized database format '%1'.").arg(path));
    Attach(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, settings.databasePassword);
}

void Connection::Create(const QString& filePath, const QString& key) {
    if (IsOpen())
        throw DbError(DbErrorNumber::ObjectOpen,
                      QStringLiteral("Operation is not allowed when the object is open."));
    const QFileInfo info(filePath);
    if (info.exists() && (info.isDir() || info.size() != 0))
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("The file '%1' already exists.").arg(filePath));
    Attach(filePath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, key);
}

void Connection::Attach(const QString& filePath, int flags, const QString& key) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(filePath).constData(), &raw, flags, nullptr);
    std::unique_ptr<sqlite3, HandleDeleter> handle(raw);
    if (opened != SQLITE_OK) {
        if (opened == SQLITE_CANTOPEN && !QFileInfo::exists(filePath))
            throw MissingFile(filePath);
        const QString message = handle ? QString::fromUtf8(sqlite3_errmsg(handle.get()))
                                       : QString::fromUtf8(sqlite3_errstr(opened));
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("Could not open file '%1': %2.").arg(filePath, message),
                      opened);
    }
    sqlite3_extended_result_codes(handle.get(), 1);
    sqlite3_busy_timeout(handle.get(), kBusyTimeoutMs);

    if (!key.isEmpty()) {
        const QByteArray bytes = key.toUtf8();
        sqlite3_key(handle.get(), bytes.constData(), static_cast<int>(bytes.size()));
        // Spelled out so that a later engine (whose defaults differ) reads and writes the same
        // format; each line an engine does not know is ignored by it. These are the engine's
        // own defaults, so the stock sqlcipher shell opens the file with the key alone.
        for (const char* pragma :
             {"PRAGMA cipher_compatibility = 3", "PRAGMA cipher_page_size = 1024",
              "PRAGMA kdf_iter = 64000", "PRAGMA cipher_hmac_algorithm = HMAC_SHA1",
              "PRAGMA cipher_kdf_algorithm = PBKDF2_HMAC_SHA1"})
            sqlite3_exec(handle.get(), pragma, nullptr, nullptr, nullptr);
    }

    // A wrong key shows only at the first read.
    const int checked =
        sqlite3_exec(handle.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (checked != SQLITE_OK) {
        const int primary = checked & 0xff;
        if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
            if (!key.isEmpty() && HasPlainHeader(filePath))
                throw DbError(DbErrorNumber::ProviderFailure,
                              QStringLiteral("Unrecognized database format '%1'.").arg(filePath),
                              checked);
            throw DbError(
                DbErrorNumber::InvalidPassword,
                QStringLiteral("Not a valid password, or '%1' is not a database.").arg(filePath),
                checked);
        }
        impl_->handle = std::move(handle);
        impl_->filePath = filePath;
        const auto closeAgain = qScopeGuard([this] { Close(); });
        ThrowEngineError(checked);
    }
    sqlite3_exec(handle.get(), "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    impl_->handle = std::move(handle);
    impl_->filePath = filePath;
}

void Connection::Execute(const QString& statementText, const QVariantList& values,
                         int /*options*/) {
    const PreparedStatement statement = Prepare(statementText, values);
    int code;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (code != SQLITE_DONE)
        ThrowEngineError(code);
}

void Connection::Execute(const Statement& statement, int options) {
    Execute(statement.text, statement.values, options);
}

void Connection::Close() {
    impl_->handle.reset();
    impl_->filePath.clear();
}

bool Connection::IsOpen() const {
    return impl_ && impl_->handle != nullptr;
}

bool Connection::InTransaction() const {
    return IsOpen() && sqlite3_get_autocommit(impl_->handle.get()) == 0;
}

QString Connection::FilePath() const {
    return impl_ ? impl_->filePath : QString();
}

sqlite3* Connection::Handle() const {
    if (!IsOpen())
        throw Closed();
    return impl_->handle.get();
}

void Connection::Run(const char* text) {
    const int code = sqlite3_exec(Handle(), text, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        ThrowEngineError(code);
}

void Connection::RunQuietly(const char* text) noexcept {
    if (IsOpen())
        sqlite3_exec(impl_->handle.get(), text, nullptr, nullptr, nullptr);
}

void Connection::ThrowEngineError(int code) const {
    const int primary = code & 0xff;
    const QString message = IsOpen() ? QString::fromUtf8(sqlite3_errmsg(impl_->handle.get()))
                                     : QString::fromUtf8(sqlite3_errstr(code));
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("Could not use '%1'; file already in use.").arg(FilePath()),
                      code);
    case SQLITE_READONLY:
        throw DbError(DbErrorNumber::ProviderFailure,
                      QStringLiteral("Cannot update. Database or object is read-only."), code);
    case SQLITE_NOTADB:
        throw DbError(
            DbErrorNumber::InvalidPassword,
            QStringLiteral("Not a valid password, or '%1' is not a database.").arg(FilePath()),
            code);
    case SQLITE_ERROR:
        if (message.startsWith(QLatin1String("near ")) || message.contains(QLatin1String("syntax")))
            throw DbError(DbErrorNumber::SyntaxError, message, code);
        throw DbError(DbErrorNumber::ProviderFailure, message, code);
    default:
        throw DbError(DbErrorNumber::ProviderFailure, message, code);
    }
}

Connection::PreparedStatement Connection::Prepare(const QString& text,
                                                  const QVariantList& values) const {
    sqlite3* handle = Handle();
    QVariantList bound = values;
    const QString translated = Dialect::Translate(text, bound, [handle](const QString& table) {
        QList<Dialect::Column> columns;
        const QByteArray query = ("PRAGMA table_info(" + Quoted(table) + ")").toUtf8();
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(handle, query.constData(), -1, &raw, nullptr) != SQLITE_OK)
            return columns;
        const PreparedStatement info(raw);
        while (sqlite3_step(info.get()) == SQLITE_ROW) {
            const auto column = [&](int i) {
                return QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(info.get(), i)));
            };
            columns.append({column(1), column(2)});
        }
        return columns;
    });

    const QByteArray utf8 = translated.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int prepared =
        sqlite3_prepare_v2(handle, utf8.constData(), static_cast<int>(utf8.size()), &raw, &tail);
    PreparedStatement statement(raw);
    if (prepared != SQLITE_OK)
        ThrowEngineError(prepared);
    if (!statement)
        throw DbError(DbErrorNumber::SyntaxError,
                      QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                     "'PROCEDURE', 'SELECT', or 'UPDATE'."));
    // One statement per call: whatever follows it would otherwise be dropped in silence.
    for (const char* rest = tail; rest && *rest; ++rest)
        if (*rest != ';' && !QChar::isSpace(static_cast<uchar>(*rest)))
            throw DbError(DbErrorNumber::SyntaxError,
                          QStringLiteral("Characters found after end of SQL statement."));

    const int wanted = sqlite3_bind_parameter_count(statement.get());
    if (wanted > bound.size())
        throw DbError(DbErrorNumber::MissingParameter,
                      QStringLiteral("No value given for one or more required parameters."));
    if (wanted < bound.size())
        throw DbError(DbErrorNumber::BadArguments,
                      QStringLiteral("More values were given than the statement has parameters."));

    for (int i = 0; i < wanted; ++i) {
        const QVariant& value = bound[i];
        sqlite3_stmt* s = statement.get();
        const int index = i + 1;
        int code = SQLITE_OK;
        if (!value.isValid() || value.isNull()) {
            code = sqlite3_bind_null(s, index);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
                code = sqlite3_bind_int64(s, index, value.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::ULong:
            case QMetaType::ULongLong:
            case QMetaType::Char:
            case QMetaType::SChar:
            case QMetaType::UChar:
                code = sqlite3_bind_int64(s, index, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                code = sqlite3_bind_double(s, index, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                code = sqlite3_bind_blob64(s, index, bytes.constData(),
                                           static_cast<sqlite3_uint64>(bytes.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray bytes = value.typeId() == QMetaType::QDate
                                             ? value.toDate().toString(Qt::ISODate).toUtf8()
                                             : value.toString().toUtf8();
                code = sqlite3_bind_text64(s, index, bytes.constData(),
                                           static_cast<sqlite3_uint64>(bytes.size()),
                                           SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            }
        }
        if (code != SQLITE_OK)
            ThrowEngineError(code);
    }
    return statement;
}
