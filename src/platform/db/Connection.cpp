#include "platform/db/Connection.h"

#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>
#include <sodium.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A file in a folder the user may not enter looks missing to a plain look-up: the system is
// asked why, so that someone outside the file's group is told so, with the file it refused.
bool RefusedAccess(const QString& path) {
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &status) != 0)
        return errno == EACCES;
    return ::access(name.constData(), R_OK) != 0 && errno == EACCES;
}

DbError NoPermission(const QString& path) {
    const QFileInfo info(path);
    const QString refused = info.isSymLink() ? info.symLinkTarget() : path;
    return {
        DbErrorNumber::ProviderFailure,
        QStringLiteral("Could not open file '%1': you have no permission to use it.").arg(refused),
        SQLITE_CANTOPEN};
}

DbError NoSpace(const QString& path, int code) {
    return {DbErrorNumber::ProviderFailure,
            QStringLiteral("There is not enough space on the disk to save the change to '%1'.")
                .arg(path),
            code};
}

// The first 16 bytes of a file: a plain file's header, or an encrypted file's salt. Read
// without a QFile: the program opens its file on a thread of its own before there is an
// application, and the first thread to make a QObject is taken for the main one.
QByteArray FirstBytes(const QString& path) {
    QByteArray bytes(16, '\0');
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(QFile::encodeName(path).constData(), "rb"), std::fclose);
    const size_t read = file ? std::fread(bytes.data(), 1, bytes.size(), file.get()) : 0;
    bytes.truncate(static_cast<qsizetype>(read));
    return bytes;
}

bool HasPlainHeader(const QString& path) {
    return FirstBytes(path) == QByteArray("SQLite format 3", 16);
}

// What the engine's quick check finds wrong with the open file; empty when nothing is.
QString Damage(sqlite3* handle) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle, "PRAGMA quick_check(1)", -1, &raw, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(handle));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> check(raw, sqlite3_finalize);
    const int stepped = sqlite3_step(raw);
    if (stepped != SQLITE_ROW)
        return QString::fromUtf8(sqlite3_errmsg(handle));
    const QString answer =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
    return answer == QLatin1String("ok") ? QString() : answer;
}

QString Quoted(const QString& name) {
    return u'"' + QString(name).replace(u'"', QLatin1String("\"\"")) + u'"';
}

} // namespace

struct Connection::Impl {
    std::unique_ptr<sqlite3, HandleDeleter> handle;
    QString filePath;
    // Since when this connection has been waiting for another program's lock.
    QElapsedTimer waiting;
};

void Connection::StatementDeleter::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

namespace {

DbError BadConnectionString() {
    return {DbErrorNumber::BadConnectionString,
            QStringLiteral("Format of the initialization string is not valid: a quoted value "
                           "must end with its quote and be followed by \";\" or nothing.")};
}

// Constant-initialised, as kProvider is.
constexpr char kProviderKey[] = "Provider";
constexpr char kDataSourceKey[] = "Data Source";
constexpr char kPasswordKey[] = "Jet OLEDB:Database Password";

QString ConnectionValue(const QString& value) {
    const bool plain = !value.contains(u';') && value == value.trimmed() &&
                       !value.startsWith(u'"') && !value.startsWith(u'\'');
    if (plain)
        return value;
    return u'"' + QString(value).replace(u'"', QLatin1String("\"\"")) + u'"';
}

} // namespace

ConnectionSettings ParseConnectionString(const QString& connectionString) {
    ConnectionSettings settings;
    const QString& text = connectionString;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype end = text.indexOf(u';', i);
        const qsizetype equals = text.indexOf(u'=', i);
        if (equals < 0 || (end >= 0 && end < equals)) {
            // A part without "=" names nothing.
            i = end < 0 ? n : end + 1;
            continue;
        }
        const QString key = text.mid(i, equals - i).trimmed();
        qsizetype at = equals + 1;
        while (at < n && text[at].isSpace())
            ++at;
        QString value;
        if (at < n && (text[at] == u'"' || text[at] == u'\'')) {
            const QChar quote = text[at++];
            for (;;) {
                if (at >= n)
                    throw BadConnectionString();
                if (text[at] == quote) {
                    if (at + 1 < n && text[at + 1] == quote) {
                        value += quote;
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                value += text[at++];
            }
            while (at < n && text[at].isSpace())
                ++at;
            if (at < n && text[at] != u';')
                throw BadConnectionString();
            i = at + 1;
        } else {
            const qsizetype stop = end < 0 ? n : end;
            value = text.mid(at, stop - at).trimmed();
            i = stop + 1;
        }
        if (key.compare(QLatin1String(kProviderKey), Qt::CaseInsensitive) == 0)
            settings.provider = value;
        else if (key.compare(QLatin1String(kDataSourceKey), Qt::CaseInsensitive) == 0)
            settings.dataSource = value;
        else if (key.compare(QLatin1String(kPasswordKey), Qt::CaseInsensitive) == 0)
            settings.databasePassword = value;
    }
    return settings;
}

QString JoinConnectionString(const ConnectionSettings& settings) {
    const std::pair<const char*, QString> parts[] = {{kProviderKey, settings.provider},
                                                     {kDataSourceKey, settings.dataSource},
                                                     {kPasswordKey, settings.databasePassword}};
    QStringList joined;
    for (const auto& [key, value] : parts)
        joined << QLatin1String(key) + u'=' + ConnectionValue(value);
    return joined.join(u';');
}

QString LocalDataSourcePath(const QString& dataSource) {
    QString path = dataSource;
    // Only a backslash that stands right before the file name was joined as a separator; one
    // followed by a "/" is inside a folder's name.
    const qsizetype separator = path.lastIndexOf(u'\\');
    if (separator >= 0 && path.indexOf(u'/', separator) < 0)
        path[separator] = u'/';
    return QDir::cleanPath(path);
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
    if (!settings.dataSource.isEmpty() && RefusedAccess(path))
        throw NoPermission(path);
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
    // The engine's own waiting naps up to 100 ms between tries, and a program that writes
    // often takes the lock back within far less: a waiter could be passed over until its time
    // ran out. Short, uneven naps give every waiter its turn within the same time.
    sqlite3_busy_handler(
        handle.get(),
        [](void* data, int attempt) {
            QElapsedTimer& waiting = static_cast<Impl*>(data)->waiting;
            if (attempt == 0)
                waiting.start();
            if (waiting.elapsed() >= kBusyTimeoutMs)
                return 0;
            sqlite3_sleep(1 + attempt % 3);
            return 1;
        },
        impl_.get());

    if (!key.isEmpty()) {
        // The engine derives the page key from the passphrase and ciphers every page itself,
        // exactly as the stock sqlcipher shell does given the same key. The passphrase's bytes
        // are wiped once the engine has its own copy.
        QByteArray bytes = key.toUtf8();
        const auto wipe = qScopeGuard([&bytes] { sodium_memzero(bytes.data(), bytes.size()); });
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
        // A journal left by an interrupted change is undone at the first read, and undoing it
        // writes the file and removes the journal: in a folder the program may not write to,
        // every start fails the same way, and the engine's own text names no cause.
        if ((primary == SQLITE_IOERR || primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN) &&
            QFileInfo::exists(filePath + QStringLiteral("-journal"))) {
            const QFileInfo file(filePath);
            throw DbError(DbErrorNumber::ProviderFailure,
                          QStringLiteral("Could not open '%1': a change to it was interrupted and "
                                         "must be undone first, so the folder of %2 ('%3') must "
                                         "be writable.")
                              .arg(filePath, file.fileName(), file.absolutePath()),
                          checked);
        }
        impl_->handle = std::move(handle);
        impl_->filePath = filePath;
        const auto closeAgain = qScopeGuard([this] { Close(); });
        ThrowEngineError(checked);
    }
    // A damaged page would show only when something reads it, and some windows pass over read
    // errors in silence: every page is checked once, before anything relies on the file.
    if (const QString damage = Damage(handle.get()); !damage.isEmpty())
        throw DbError(
            DbErrorNumber::ProviderFailure,
            QStringLiteral("'%1' is damaged and cannot be used: %2.").arg(filePath, damage));
    sqlite3_exec(handle.get(), "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    impl_->handle = std::move(handle);
    impl_->filePath = filePath;
}

void Connection::Execute(const QString& statementText, const QVariantList& values,
                         int /*options*/) {
    const PreparedStatement statement = Prepare(statementText, values);
    // A change on its own takes the write lock before it reads anything. Left to the engine,
    // it would read first, and a program holding a read lock while another waits to commit
    // is refused at once, without waiting out the busy time.
    const bool ownTransaction = !InTransaction() && !sqlite3_stmt_readonly(statement.get());
    if (ownTransaction)
        Run("BEGIN IMMEDIATE");
    int code;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    try {
        if (code != SQLITE_DONE)
            ThrowEngineError(code);
        if (ownTransaction)
            Run("COMMIT");
    } catch (const DbError&) {
        if (ownTransaction)
            RunQuietly("ROLLBACK");
        throw;
    }
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
    case SQLITE_FULL:
        throw NoSpace(FilePath(), code);
    case SQLITE_IOERR: {
        // A write past a file-size limit or a quota comes back as an I/O error.
        const int cause = IsOpen() ? sqlite3_system_errno(impl_->handle.get()) : 0;
        if (cause == ENOSPC || cause == EFBIG || cause == EDQUOT)
            throw NoSpace(FilePath(), code);
        throw DbError(DbErrorNumber::ProviderFailure, message, code);
    }
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
