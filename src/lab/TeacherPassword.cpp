#include "lab/TeacherPassword.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>

#include "lab/LabSettings.h"

namespace {
const QString scheme = QStringLiteral("pbkdf2-sha256");
constexpr int saltBytes = 16;
constexpr int hashBytes = 32;
// The password a school without an administrator's hash keeps using; the README names it.
constexpr char16_t builtInPassword[] = u"[pkxn";

std::optional<QByteArray> fromBase64(const QString& text) {
    const auto decoded = QByteArray::fromBase64Encoding(
        text.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return std::nullopt;
    return *decoded;
}
}  // namespace

QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations,
                        int length) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    QByteArray out;
    for (quint32 block = 1; out.size() < length; ++block) {
        mac.reset();
        mac.addData(salt);
        const char index[4] = {char(block >> 24), char(block >> 16), char(block >> 8), char(block)};
        mac.addData(index, 4);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (qsizetype j = 0; j < t.size(); ++j) t[j] = char(t[j] ^ u[j]);
        }
        out += t;
    }
    out.truncate(length);
    return out;
}

bool equalInConstantTime(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

PasswordHash PasswordHash::make(const QString& password, int iterations) {
    PasswordHash made;
    made.iterations = iterations;
    made.salt.resize(saltBytes);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(made.salt.data()),
                                          saltBytes / sizeof(quint32));
    made.hash = pbkdf2Sha256(password.toUtf8(), made.salt, iterations, hashBytes);
    return made;
}

std::optional<PasswordHash> PasswordHash::parse(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != scheme) return std::nullopt;
    bool ok = false;
    PasswordHash parsed;
    parsed.iterations = parts[1].toInt(&ok);
    if (!ok || parsed.iterations < 1 || parsed.iterations > maximumIterations) return std::nullopt;
    const auto salt = fromBase64(parts[2]);
    const auto hash = fromBase64(parts[3]);
    if (!salt || !hash || salt->isEmpty() || hash->size() < 16) return std::nullopt;
    parsed.salt = *salt;
    parsed.hash = *hash;
    return parsed;
}

QString PasswordHash::toString() const {
    return scheme + QLatin1Char('$') + QString::number(iterations) + QLatin1Char('$') +
           QString::fromLatin1(salt.toBase64()) + QLatin1Char('$') +
           QString::fromLatin1(hash.toBase64());
}

bool PasswordHash::matches(const QString& password) const {
    return equalInConstantTime(pbkdf2Sha256(password.toUtf8(), salt, iterations, int(hash.size())),
                               hash);
}

TeacherPassword::TeacherPassword(const QString& passwordHash)
    : hashSet_(!passwordHash.trimmed().isEmpty()) {
    if (!hashSet_) return;
    hash_ = PasswordHash::parse(passwordHash);
    if (!hash_)
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("reaktikum: пароль учителя [Teacher] password_hash= не "
                                    "прочитан (ожидается строка pbkdf2-sha256$…, которую "
                                    "выводит reaktikum --hash-password); удаление результатов "
                                    "закрыто.")
                         .toLocal8Bit()
                         .constData());
}

TeacherPassword TeacherPassword::fromSettings(const LabSettings& settings) {
    for (const QString& warning : settings.warnings())
        std::fprintf(stderr, "%s\n", warning.toLocal8Bit().constData());
    return TeacherPassword(settings.value(QStringLiteral("Teacher/password_hash")).toString());
}

bool TeacherPassword::accepts(const QString& typed) const {
    if (hashSet_) return hash_ && hash_->matches(typed);
    return equalInConstantTime(typed.toUtf8(), QString::fromUtf16(builtInPassword).toUtf8());
}
