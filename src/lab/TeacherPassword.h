#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class LabSettings;

// PBKDF2 with HMAC-SHA256: `length` bytes derived from a password and a salt.
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations,
                        int length);
// Compares two byte strings in a time that depends on their lengths only.
bool equalInConstantTime(const QByteArray& a, const QByteArray& b);

// A salted password hash as the administrator writes it in [Teacher] password_hash=:
//     pbkdf2-sha256$ITERATIONS$SALT$HASH
// SALT and HASH in standard Base64 with padding; the password is taken as UTF-8.
struct PasswordHash {
    static constexpr int defaultIterations = 600000;
    static constexpr int maximumIterations = 50000000;

    int iterations = defaultIterations;
    QByteArray salt;
    QByteArray hash;

    // A hash of the password with a fresh random salt.
    static PasswordHash make(const QString& password, int iterations = defaultIterations);
    // Nothing when the text is not such a string.
    static std::optional<PasswordHash> parse(const QString& text);
    QString toString() const;
    bool matches(const QString& password) const;
};

// What opens the teacher's gate: the administrator's password hash from the system-wide
// settings when there is one; without one, the password built into the program. A hash that
// cannot be read opens nothing (and says so on standard error), never the built-in password.
class TeacherPassword {
public:
    // The built-in password.
    TeacherPassword() = default;
    // The administrator's [Teacher] password_hash= text; an empty text means none.
    explicit TeacherPassword(const QString& passwordHash);
    // The settings' [Teacher] password_hash=; what the settings ignored goes to standard error.
    static TeacherPassword fromSettings(const LabSettings& settings);

    bool accepts(const QString& typed) const;
    bool isBuiltIn() const { return !hashSet_; }

private:
    bool hashSet_ = false;
    std::optional<PasswordHash> hash_;
};
