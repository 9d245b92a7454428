// The teacher's password: the PBKDF2-SHA256 hash an administrator sets, in the documented
// format, and the built-in password that opens nothing once a hash is set.

#include <gtest/gtest.h>

#include "lab/TeacherPassword.h"

namespace {

const QString builtIn = QStringLiteral("[pkxn");

TEST(TeacherPasswordTest, DerivesThePublishedPbkdf2Sha256Vectors) {
    // RFC 7914, section 11.
    EXPECT_EQ(pbkdf2Sha256("passwd", "salt", 1, 64).toHex(),
              "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
              "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
    EXPECT_EQ(pbkdf2Sha256("Password", "NaCl", 80000, 64).toHex(),
              "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
              "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d");
}

TEST(TeacherPasswordTest, AHashMadeElsewhereInTheDocumentedFormatIsAccepted) {
    // Made by another PBKDF2 implementation: 1000 rounds, salt 00 01 … 0f, UTF-8 password.
    const QString line = QStringLiteral(
        "pbkdf2-sha256$1000$AAECAwQFBgcICQoLDA0ODw==$"
        "NRj8KWe85IPp9bG/Clo34h7ZB5zFeB416SDqm3CheaY=");
    const TeacherPassword password(line);
    EXPECT_FALSE(password.isBuiltIn());
    EXPECT_TRUE(password.accepts(QStringLiteral("учитель химии")));
    EXPECT_FALSE(password.accepts(QStringLiteral("учитель химии ")));
    EXPECT_FALSE(password.accepts(QStringLiteral("Учитель химии")));
    // With a hash set the built-in password opens nothing.
    EXPECT_FALSE(password.accepts(builtIn));
    EXPECT_FALSE(password.accepts(QString()));
}

TEST(TeacherPasswordTest, AMadeHashReadsBackAndKeepsItsSaltSecretFromTheNext) {
    const PasswordHash made = PasswordHash::make(QStringLiteral("Менделеев-1869"), 2000);
    const QString line = made.toString();
    EXPECT_TRUE(line.startsWith(QStringLiteral("pbkdf2-sha256$2000$"))) << line.toStdString();
    const auto parsed = PasswordHash::parse(line);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->salt, made.salt);
    EXPECT_EQ(parsed->hash.size(), 32);
    EXPECT_TRUE(parsed->matches(QStringLiteral("Менделеев-1869")));
    EXPECT_FALSE(parsed->matches(QStringLiteral("Менделеев-1870")));
    // A fresh salt every time: the same password never gives the same line twice.
    EXPECT_NE(PasswordHash::make(QStringLiteral("Менделеев-1869"), 2000).toString(), line);
}

TEST(TeacherPasswordTest, AHashThatCannotBeReadOpensNothing) {
    const char* broken[] = {
        "pbkdf2-sha256$1000$AAECAwQFBgcICQoLDA0ODw==",  // no hash
        "pbkdf2-sha1$1000$AAECAwQFBgcICQoLDA0ODw==$NRj8KWe85IPp9bG/Clo34h7ZB5zFeB416SDqm3CheaY=",
        "pbkdf2-sha256$0$AAECAwQFBgcICQoLDA0ODw==$NRj8KWe85IPp9bG/Clo34h7ZB5zFeB416SDqm3CheaY=",
        "pbkdf2-sha256$many$AAECAwQFBgcICQoLDA0ODw==$NRj8KWe85IPp9bG/Clo34h7ZB5zFeB416SDqm3CheaY=",
        "pbkdf2-sha256$1000$not base64!$NRj8KWe85IPp9bG/Clo34h7ZB5zFeB416SDqm3CheaY=",
        "pbkdf2-sha256$1000$AAECAwQFBgcICQoLDA0ODw==$c2hvcnQ=",  // a short hash
        "[pkxn",
    };
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(PasswordHash::parse(QString::fromLatin1(text)).has_value());
        const TeacherPassword password(QString::fromLatin1(text));
        EXPECT_FALSE(password.isBuiltIn());
        EXPECT_FALSE(password.accepts(builtIn));
        EXPECT_FALSE(password.accepts(QStringLiteral("учитель химии")));
    }
}

TEST(TeacherPasswordTest, WithoutAHashOnlyTheBuiltInPasswordOpens) {
    for (const TeacherPassword& password :
         {TeacherPassword(), TeacherPassword(QString()), TeacherPassword(QStringLiteral("  "))}) {
        EXPECT_TRUE(password.isBuiltIn());
        EXPECT_TRUE(password.accepts(builtIn));
        for (const char* wrong : {"[PKXN", "[pkxn ", "[pkx", "", "[pkxn[pkxn"})
            EXPECT_FALSE(password.accepts(QString::fromLatin1(wrong))) << wrong;
        // The same keys on the Russian layout.
        EXPECT_FALSE(password.accepts(QStringLiteral("хзлчт")));
    }
}

}  // namespace
