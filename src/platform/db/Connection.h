#pragma once

#include "platform/db/Statement.h"

#include <QString>
#include <QVariantList>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;
class Recordset;
class Transaction;

// The one connection to the encrypted database file.
//
// The connection string is the original provider's: "Provider=Microsoft.Jet.OLEDB.4.0;
// Data Source=<file>;Jet OLEDB:Database Password=<key>", values that need it quoted (see
// JoinConnectionString). The last backslash of the data source is a folder separator, so a
// folder joined with "\Main.mdb" opens, a doubled separator included.
// Opening never creates a file and leaves the file untouched when it fails. Every failure is a
// DbError (numbers in DbError.h).
class Connection {
public:
    Connection();
    ~Connection();
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // `user`, `password` and `options` are accepted as the program passes them; the file's
    // key comes from the connection string.
    void Open(const QString& connectionString, const QString& user = {},
              const QString& password = {}, int options = -1);
    // Makes a new database keyed with `key` in `filePath`, which must be missing or an empty
    // file, and leaves the connection open on it.
    void Create(const QString& filePath, const QString& key);

    // Carries out one statement; each '?' takes one of `values` in order.
    void Execute(const QString& statementText, const QVariantList& values = {}, int options = -1);
    void Execute(const Statement& statement, int options = -1);

    void Close();
    bool IsOpen() const;
    // Inside an explicit transaction (see Transaction).
    bool InTransaction() const;
    // The file the connection is open on, as a local path.
    QString FilePath() const;

private:
    friend class Recordset;
    friend class Transaction;
    struct Impl;

    struct StatementDeleter {
        void operator()(sqlite3_stmt* statement) const noexcept;
    };
    using PreparedStatement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

    void Attach(const QString& filePath, int flags, const QString& key);
    PreparedStatement Prepare(const QString& text, const QVariantList& values) const;
    void Run(const char* text);
    void RunQuietly(const char* text) noexcept;
    sqlite3* Handle() const;
    [[noreturn]] void ThrowEngineError(int code) const;

    std::unique_ptr<Impl> impl_;
};

// The pieces of a connection string that the store reads; keys match without regard to case.
struct ConnectionSettings {
    QString provider;
    QString dataSource;
    QString databasePassword;
};
// Reads "key=value" pairs separated by ";". A value may be quoted with " or ', the quote
// doubled inside; an unquoted value ends at the next ";" and loses its outer spaces. Throws
// DbError (BadConnectionString) for an unterminated quote or text after a closing one.
ConnectionSettings ParseConnectionString(const QString& connectionString);
// The connection string of `settings`, each value quoted where it holds a ";", starts with a
// quote or has outer spaces: ParseConnectionString gives back exactly these values.
QString JoinConnectionString(const ConnectionSettings& settings);
// The data source as a path of this platform: its last backslash, the one joined before the
// file name, becomes a folder separator; any other backslash belongs to a folder's name.
QString LocalDataSourcePath(const QString& dataSource);
