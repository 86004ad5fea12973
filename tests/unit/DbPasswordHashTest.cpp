#include "platform/db/PasswordHash.h"

#include <gtest/gtest.h>

TEST(PasswordHash, VerifiesOnlyTheExactPassword) {
    const QString hash = PasswordHash::Hash(QStringLiteral("Secret pass"));
    EXPECT_TRUE(hash.startsWith(QLatin1String("$argon2id$")));
    EXPECT_FALSE(hash.contains(QLatin1String("Secret")));
    EXPECT_TRUE(PasswordHash::Verify(hash, QStringLiteral("Secret pass")));
    EXPECT_FALSE(PasswordHash::Verify(hash, QStringLiteral("secret pass")));
    EXPECT_FALSE(PasswordHash::Verify(hash, QStringLiteral("SECRET PASS")));
    EXPECT_FALSE(PasswordHash::Verify(hash, QStringLiteral("Secret pass ")));
    EXPECT_FALSE(PasswordHash::Verify(hash, QStringLiteral("Secret")));
}

TEST(PasswordHash, SaltsEachHashSoEqualPasswordsDifferInStore) {
    const QString first = PasswordHash::Hash(QStringLiteral("admin"));
    const QString second = PasswordHash::Hash(QStringLiteral("admin"));
    EXPECT_NE(first, second);
    EXPECT_TRUE(PasswordHash::Verify(first, QStringLiteral("admin")));
    EXPECT_TRUE(PasswordHash::Verify(second, QStringLiteral("admin")));
}

TEST(PasswordHash, EmptyAndNonAsciiPasswordsWorkLikeAnyOther) {
    const QString empty = PasswordHash::Hash(QString());
    EXPECT_TRUE(PasswordHash::Verify(empty, QString()));
    EXPECT_TRUE(PasswordHash::Verify(empty, QStringLiteral("")));
    EXPECT_FALSE(PasswordHash::Verify(empty, QStringLiteral(" ")));

    const QString word = QStringLiteral("Gr\u00fc\u00dfe \U0001F511");
    const QString hash = PasswordHash::Hash(word);
    EXPECT_TRUE(PasswordHash::Verify(hash, word));
    EXPECT_FALSE(PasswordHash::Verify(hash, QStringLiteral("Grusse \U0001F511")));
}

TEST(PasswordHash, StoredValuesThatAreNoHashMatchNothing) {
    EXPECT_FALSE(PasswordHash::Verify(QString(), QString()));
    EXPECT_FALSE(PasswordHash::Verify(QString(), QStringLiteral("admin")));
    // A password stored in clear by an older file must not let the same text in.
    EXPECT_FALSE(PasswordHash::Verify(QStringLiteral("admin"), QStringLiteral("admin")));
    const QString hash = PasswordHash::Hash(QStringLiteral("admin"));
    EXPECT_FALSE(PasswordHash::Verify(hash.left(hash.size() - 4), QStringLiteral("admin")));
    EXPECT_FALSE(PasswordHash::Verify(hash + QStringLiteral("\u00e9"), QStringLiteral("admin")));
}

// The stand-in verification for an unknown user must cost what a real one costs, and keep
// doing so when the costs of new hashes change.
TEST(PasswordHash, RefusalsWithoutAStoredHashCostOneRealVerification) {
    // "$argon2id$v=19$m=...,t=...,p=...$salt$digest": all before the salt is the cost.
    const QString hash = PasswordHash::Hash(QStringLiteral("x"));
    EXPECT_EQ(QString::fromLatin1(PasswordHash::kDecoyHash).section(u'$', 0, 3),
              hash.section(u'$', 0, 3));

    const quint64 before = PasswordHash::VerificationCount();
    PasswordHash::VerifyAgainstNoAccount(QStringLiteral("admin"));
    EXPECT_FALSE(PasswordHash::Verify(QString(), QStringLiteral("admin")));
    EXPECT_FALSE(PasswordHash::Verify(QStringLiteral("admin"), QStringLiteral("admin")));
    EXPECT_FALSE(PasswordHash::Verify(hash, QStringLiteral("y")));
    EXPECT_EQ(PasswordHash::VerificationCount() - before, 4u);
}
