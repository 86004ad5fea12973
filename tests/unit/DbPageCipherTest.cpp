#include "platform/db/Connection.h"
#include "platform/db/PageCipher.h"
#include "platform/db/Recordset.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sqlite3.h>

extern "C" {
int sqlcipher_openssl_setup(void* provider);
int sqlcipher_register_provider(void* provider);
void* sqlcipher_malloc(int size);
}

namespace {

QByteArray RandomBytes(int size) {
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QByteArray EvpCipher(bool encrypt, const QByteArray& key, const QByteArray& iv,
                     const QByteArray& data) {
    QByteArray out(data.size() + 16, '\0');
    int length = 0;
    int last = 0;
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(context, EVP_aes_256_cbc(), nullptr,
                      reinterpret_cast<const unsigned char*>(key.constData()),
                      reinterpret_cast<const unsigned char*>(iv.constData()), encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(context, 0);
    EVP_CipherUpdate(context, reinterpret_cast<unsigned char*>(out.data()), &length,
                     reinterpret_cast<const unsigned char*>(data.constData()),
                     static_cast<int>(data.size()));
    EVP_CipherFinal_ex(context, reinterpret_cast<unsigned char*>(out.data()) + length, &last);
    EVP_CIPHER_CTX_free(context);
    out.truncate(length + last);
    return out;
}

// The engine's own OpenSSL functions put back, as a program that never installed ours has
// them: what they write ours must read, and the other way round.
void UseTheEnginesOwnCipher() {
    void* provider = sqlcipher_malloc(256);
    sqlcipher_openssl_setup(provider);
    sqlcipher_register_provider(provider);
}

QStringList NamesThroughTheEngine(const QString& path, const QByteArray& key) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    EXPECT_FALSE(PageCipher::Installed());
    QStringList names;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM t ORDER BY id", -1, &statement, nullptr) ==
        SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            names << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return names;
}

} // namespace

// Every page is one call of each: lengths of one block to a large page (in groups of four
// blocks and the blocks left over), against OpenSSL's EVP.
TEST(PageCipher, EncryptsDecryptsAndSignsAsOpenSslDoes) {
    for (const int size : {16, 48, 112, 1008, 1024, 4096}) {
        const QByteArray key = RandomBytes(32);
        const QByteArray iv = RandomBytes(16);
        const QByteArray data = RandomBytes(size);
        // The processor's instructions (where this one has them) and the portable blocks.
        for (const bool hardware : {true, false}) {
            const QByteArray encrypted = PageCipher::Encrypt(key, iv, data, hardware);
            EXPECT_EQ(encrypted, EvpCipher(true, key, iv, data)) << size << hardware;
            EXPECT_EQ(PageCipher::Decrypt(key, iv, encrypted, hardware), data) << size << hardware;
            EXPECT_EQ(PageCipher::Decrypt(key, iv, data, hardware), EvpCipher(false, key, iv, data))
                << size << hardware;
        }

        const QByteArray tail = RandomBytes(4);
        QByteArray mac(20, '\0');
        const QByteArray joined = data + tail;
        HMAC(EVP_sha1(), key.constData(), static_cast<int>(key.size()),
             reinterpret_cast<const unsigned char*>(joined.constData()),
             static_cast<size_t>(joined.size()), reinterpret_cast<unsigned char*>(mac.data()),
             nullptr);
        EXPECT_EQ(PageCipher::Mac(key, data, tail), mac) << size;
    }
    // A key longer than the hash block is hashed first.
    const QByteArray longKey = RandomBytes(100);
    QByteArray mac(20, '\0');
    HMAC(EVP_sha1(), longKey.constData(), 100, reinterpret_cast<const unsigned char*>("abc"), 3,
         reinterpret_cast<unsigned char*>(mac.data()), nullptr);
    EXPECT_EQ(PageCipher::Mac(longKey, "ab", "c"), mac);

    EXPECT_TRUE(PageCipher::Encrypt(RandomBytes(32), RandomBytes(16), RandomBytes(20)).isEmpty());
    EXPECT_TRUE(PageCipher::Encrypt(RandomBytes(16), RandomBytes(16), RandomBytes(32)).isEmpty());
}

// A file made by the program (its key derived by us from the passphrase) is read by the engine
// with its own functions, and one the engine made is read by the program, through many pages.
TEST(PageCipher, FilesAreReadableEitherWay) {
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.mdb"));
    {
        Connection connection;
        connection.Create(ours, QStringLiteral("s3cret"));
        EXPECT_TRUE(PageCipher::Installed());
        connection.Execute(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT)"));
        for (int row = 0; row < 300; ++row)
            connection.Execute(QStringLiteral("INSERT INTO t (name) VALUES ('%1')")
                                   .arg(QString(40, QChar(u'a' + row % 26))));
    }
    UseTheEnginesOwnCipher();
    const QStringList names = NamesThroughTheEngine(ours, "s3cret");
    ASSERT_EQ(names.size(), 300);
    EXPECT_EQ(names[27], QString(40, QChar(u'b')));

    const QString theirs = dir.filePath(QStringLiteral("theirs.mdb"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(theirs.toUtf8().constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    sqlite3_key(db, "s3cret", 6);
    EXPECT_FALSE(PageCipher::Installed());
    sqlite3_exec(db,
                 "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT);"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                 "INSERT INTO t (name) SELECT printf('%040d', i) FROM n;",
                 nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);

    Connection connection;
    connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;"
                                   "Jet OLEDB:Database Password=s3cret")
                        .arg(theirs));
    EXPECT_TRUE(PageCipher::Installed());
    Recordset rows;
    rows.Open(QStringLiteral("SELECT name FROM t ORDER BY id"), connection);
    ASSERT_EQ(rows.RecordCount(), 300);
    for (int row = 1; row < 300; ++row)
        rows.MoveNext();
    EXPECT_EQ(rows.Fields(0).Value().ToString(),
              QStringLiteral("%1").arg(300, 40, 10, QChar(u'0')));
}
